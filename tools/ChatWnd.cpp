// The chat window, its controls declared as data.
#include "tools/ChatWnd.h"

#include "core/FrameSettings.h"
#include "core/Globals.h"
#include "core/TextViewer.h"
#include "platform/Clock.h"
#include "platform/DateTime.h"
#include "platform/ErrorReporter.h"
#include "platform/Ini.h"
#include "platform/Picture.h"

#include <QFileInfo>

namespace ven {
namespace {

constexpr int kCloseAfter = 900;  // ticks: fifteen minutes without a message or a click
constexpr int kRereadEvery = 20;
constexpr int kMessageSize = 127;
constexpr uint32_t kNavy = 0x000080, kLightYellow = 0xFFFFE0;

const WindowDef kChatDef{
    .title = "Chat with other Vendrolix Users",
    .w = 240,
    .h = 200,
    .icon = "Chat.ico",
    .font = {"Tahoma", 10, true},
    .mdi = true,
    .resizable = true,
    .timer = 100,
    .controls = {
        {.name = "Face", .kind = Kind::Region, .x = 0, .y = 0, .w = 240, .h = 200},
        {.name = "Message", .kind = Kind::Entry, .x = 4, .y = 4, .w = 232, .h = 12, .picture = "s127"},
        {.name = "List", .kind = Kind::List, .x = 4, .y = 20, .w = 232, .h = 152, .tip = "Right Click to Search or Print",
         .font = {"Monospace", 10, true}, .color = kNavy, .background = kLightYellow},
        {.name = "Write", .kind = Kind::Button, .text = "&Write", .x = 130, .y = 176, .w = 50, .h = 14,
         .tip = "\r\n  Write  \r\n", .flags = Default},
        {.name = "Close", .kind = Kind::Button, .text = "Close", .x = 186, .y = 176, .w = 50, .h = 14,
         .tip = "\r\n  Close  \r\n", .closes = RequestCancelled},
        {.name = "Progress", .kind = Kind::Progress, .x = 4, .y = 193, .w = 232, .h = 5, .low = 0, .high = kCloseAfter},
    }};

} // namespace

QString chatFileName(const QString& setting, int32_t day)
{
    QString folder = setting;
    if (!folder.isEmpty() && !folder.endsWith(u'/') && !folder.endsWith(u'\\') && QFileInfo(folder).isDir())
        folder += u'/';
    return folder + QLatin1String("Chat ") + formatDate(day, u"D10-") + QLatin1String(".txt");
}

QString chatMessageText(const QString& typed)
{
    QString text = typed.left(kMessageSize);
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return text;
}

LineResult writeChatMessage(const QString& file, int32_t time, const QString& user, const QString& text,
                            const QString& dateLine)
{
    const QString header = formatTime(time, u"T1.") + u' ' + user + u':';
    return AppendTextLines(file, {header, chatMessageText(text)}, {dateLine});
}

namespace {

class ChatWnd : public WindowController {
public:
    ChatWnd() : WindowController(QStringLiteral("ChatWnd"), kChatDef)
    {
        auto v = std::make_unique<TextViewer>(*this, QStringLiteral("List"), kNavy);
        viewer_ = v.get();
        addPart(std::move(v));
    }

protected:
    bool setUp() override
    {
        ChatFileName = readIni(ProgramIni(), QStringLiteral("Paths"), QStringLiteral("ChatFileName"), {});
        if (ChatFileName.trimmed().isEmpty()) {
            // No shared folder: nothing to show or write, and the user is
            // told why the window does not stay.
            messageBox(QStringLiteral("No chat folder is set.|Choose one as \"Chat File Path:\" in the Configuration."),
                       QStringLiteral("Chat"), Icon::Information);
            return false;
        }
        day_ = ven::clock().today();
        ChatFileName = chatFileName(ChatFileName, day_);
        file_ = ChatFileName;
        // The day's file is made once, with the date line, whoever comes first.
        if (!QFileInfo::exists(file_) && !report(AppendTextLines(file_, {}, {dateLineFor(day_)})))
            return false;
        if (!viewer_->open(file_))
            return false;
        showLastLine();
        window().setTitle(file_);
        window().bind("Progress", bindTo(ticks_));
        setTimer(kChatDef.timer);
        return true;
    }

    void accepted(const QString& control) override
    {
        if (control != u"Write") {
            WindowController::accepted(control);
            return;
        }
        // A message that could not be written stays in the entry.
        Control entry = this->control("Message");
        if (entry.text().trimmed().isEmpty()
            || report(writeChatMessage(file_, ven::clock().time(), CurrentUser, entry.text(), dateLineFor(day_))))
            entry.setText({});
        entry.select();
        restartCount();
    }

    void windowEvent(Event e) override
    {
        WindowController::windowEvent(e);
        if (e != Event::Timer)
            return;
        if (++ticks_ >= kCloseAfter) {
            close(RequestCompleted);
            return;
        }
        window().display("Progress");
        if (ticks_ % kRereadEvery == 0)
            reread();
    }

    void fieldEvent(const QString& control, FieldEvent e) override
    {
        if (e == FieldEvent::DoubleClick || e == FieldEvent::RightClick)
            restartCount();
        WindowController::fieldEvent(control, e);
    }

private:
    bool report(const LineResult& r)
    {
        for (const QString& m : r.messages)
            messageBox(m, QStringLiteral("Chat"), Icon::Exclamation);
        return r.ok();
    }

    void showLastLine()
    {
        viewer_->goToLine(int(viewer_->lines().size()) - 1);
    }

    void reread()
    {
        viewer_->open(file_);
        showLastLine();
    }

    void restartCount()
    {
        ticks_ = 0;
        window().display("Progress");
        reread();
    }

    TextViewer* viewer_ = nullptr;
    QString file_;
    int32_t day_ = 0;
    int32_t ticks_ = 0;
};

} // namespace

std::unique_ptr<WindowController> makeChatWnd(const QString&)
{
    return std::make_unique<ChatWnd>();
}

} // namespace ven
