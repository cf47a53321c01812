// ViewerWnd: the text file named in ShellFile when the viewer starts; the
// name is copied then, so later shell calls do not change what it shows. A
// right click reads the file again.
#include "core/ViewerWnd.h"

#include "core/EditTextFile.h"
#include "core/TextViewer.h"
#include "platform/Shell.h"

namespace ven {
namespace {

class ViewerWnd : public TextViewerWnd {
public:
    ViewerWnd() : TextViewerWnd(QStringLiteral("ViewerWnd"), {2, 0x000080, [] { return makeEditTextFile({}); }}) {}

protected:
    void chooseFile(QString& file, QString& title) override
    {
        QString name = ShellFile.trimmed();
        if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"'))
            name = name.mid(1, name.size() - 2);
        file = title = name;
    }
    void rightClicked() override
    {
        restartCount();
        viewer().open(viewer().file());
        window().display();
    }
};

} // namespace

std::unique_ptr<WindowController> makeViewerWnd(const QString&) { return std::make_unique<ViewerWnd>(); }

} // namespace ven
