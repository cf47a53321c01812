// MemoWnd: the quick memo, read from the program folder (where its editor
// opens it too); it closes itself after about two minutes.
#include "core/MemoWnd.h"

#include "core/DateHelpers.h"
#include "core/EditQuickNote.h"
#include "core/TextViewer.h"

namespace ven {
namespace {

class MemoWnd : public TextViewerWnd {
public:
    MemoWnd() : TextViewerWnd(QStringLiteral("MemoWnd"), {5, kNoColor, [] { return makeEditQuickNote({}); }}) {}

protected:
    void chooseFile(QString& file, QString& title) override
    {
        file = joinPath(Program_Path, QStringLiteral("VenMemo.txt"));
        title = QStringLiteral("View VenMemo.txt");
    }
};

} // namespace

std::unique_ptr<WindowController> makeMemoWnd(const QString&) { return std::make_unique<MemoWnd>(); }

} // namespace ven
