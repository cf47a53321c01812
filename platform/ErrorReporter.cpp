// Message boxes and the error reporter.
#include "platform/ErrorReporter.h"
#include "platform/WindowController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>


namespace ven {
namespace {

MessageBoxHandler& handler()
{
    static MessageBoxHandler h;
    return h;
}

int realBox(const MessageBoxRequest& r)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(r.caption);
    box.setText(r.text);
    static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical, QMessageBox::Question,
                                              QMessageBox::Warning, QMessageBox::Information};
    box.setIcon(icons[int(r.icon)]);
    std::vector<QPushButton*> buttons;
    for (const QString& b : r.buttons)
        buttons.push_back(box.addButton(b, QMessageBox::AcceptRole));
    if (r.defaultButton >= 1 && r.defaultButton <= int(buttons.size())) {
        box.setDefaultButton(buttons[r.defaultButton - 1]);
        box.setEscapeButton(buttons[r.defaultButton - 1]);
    }
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i])
            return int(i) + 1;
    return r.defaultButton;
}

} // namespace

void setMessageBoxHandler(MessageBoxHandler h)
{
    handler() = std::move(h);
}

int messageBox(const QString& text, const QString& caption, Icon icon, const QString& buttons, int defaultButton)
{
    MessageBoxRequest r;
    r.caption = caption;
    r.text = QString(text).replace('|', '\n');
    r.icon = icon;
    r.buttons = buttons.split('|', Qt::SkipEmptyParts);
    if (r.buttons.isEmpty())
        r.buttons << QStringLiteral("&OK");
    r.defaultButton = std::clamp(defaultButton, 1, int(r.buttons.size()));
    return handler() ? handler()(r) : realBox(r);
}

int ErrorReporter::showText(int number, const QString& text, const QString& buttons, int defaultButton)
{
    const Message* m = findMessage(number);
    if (!m)
        return 0;
    const bool question = m->kind == MessageKind::Question;
    const QString b = !buttons.isEmpty() ? buttons : question ? QStringLiteral("&Yes|&No") : QStringLiteral("&OK");
    const Icon icon = m->kind == MessageKind::Fatal ? Icon::Stop : question ? Icon::Question : Icon::Exclamation;
    const int result = messageBox(text, messageTitle(number), icon, b, defaultButton > 0 ? defaultButton : 1);
    if (m->kind == MessageKind::Fatal) {
        WindowController::closeForFileError();
        if (afterFatal_)
            afterFatal_();
    }
    return result;
}

int ErrorReporter::show(int number, const MessageArgs& args, const QString& buttons, int defaultButton)
{
    return showText(number, messageText(number, args), buttons, defaultButton);
}

int ErrorReporter::show(const Status& st, const QString& buttons, int defaultButton)
{
    if (st.message == 0)
        return 0;
    const QString text = !st.text.isEmpty() ? st.text : messageText(st.message, MessageArgs{{}, st.errorText, {}, {}});
    return showText(st.message, text, buttons, defaultButton);
}

bool ErrorReporter::retry(const std::function<Status()>& op)
{
    for (;;) {
        const Status st = op();
        if (st)
            return true;
        const int answer = show(st);
        const Message* m = findMessage(st.message);
        if (!m || m->kind != MessageKind::Question || answer != 1)
            return false;
    }
}

ErrorReporter& errors()
{
    static ErrorReporter e;
    return e;
}

} // namespace ven
