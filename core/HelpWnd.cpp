// HelpWnd: the help text, "VenHelp.txt" of the program folder when there is
// one, else the program's own copy. Its topics are headed by the procedure
// names; a topic given as parameter is shown at the top.
#include "core/HelpWnd.h"

#include "core/DateHelpers.h"
#include "core/EditHelp.h"
#include "core/Procedures.h"
#include "core/TextViewer.h"

#include <QFileInfo>

namespace ven {
namespace {

class HelpWnd : public TextViewerWnd {
public:
    explicit HelpWnd(const QString& topic)
        : TextViewerWnd(QStringLiteral("HelpWnd"), {2, 0x008000, [] { return makeEditHelp({}); }}),
          topic_(topic.trimmed())
    {
    }

protected:
    void chooseFile(QString& file, QString& title) override
    {
        file = joinPath(Program_Path, QStringLiteral("VenHelp.txt"));
        if (!QFileInfo::exists(file))
            file = QStringLiteral(":/help/VenHelp.txt");
        title = QStringLiteral("View VenHelp.txt");
    }
    void windowEvent(Event e) override
    {
        TextViewerWnd::windowEvent(e);
        if (e == Event::OpenWindow)
            goToTopic(topic_);
    }

public:
    // Shows the topic's heading at the top; an unknown topic moves nothing.
    void goToTopic(const QString& topic)
    {
        topic_ = topic.trimmed();
        if (topic_.isEmpty())
            return;
        const QStringList& lines = viewer().lines();
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].trimmed().compare(topic_, Qt::CaseInsensitive) == 0) {
                viewer().goToLine(i);
                break;
            }
    }

private:
    QString topic_;
};

} // namespace

void ShowHelp(const QString& topic)
{
    // The help window already open goes to the new topic and comes forward.
    if (auto* open = dynamic_cast<HelpWnd*>(WindowController::find(QStringLiteral("HelpWnd"))); open && open->isOpen()) {
        open->goToTopic(topic);
        open->post(Event::GainFocus);
        return;
    }
    startProcedure(QStringLiteral("HelpWnd"), topic);
}

std::unique_ptr<WindowController> makeHelpWnd(const QString& parameter)
{
    return std::make_unique<HelpWnd>(parameter);
}

} // namespace ven
