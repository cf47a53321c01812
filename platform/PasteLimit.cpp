// The paste guard of entries and text boxes.
#include "platform/PasteLimit.h"

#include "platform/ErrorReporter.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace ven {
namespace {

// A text box stores each line end as CR LF; its selection shows them as
// paragraph separators.
int storedSize(const QString& text)
{
    int n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;  // CR LF is one line end
        n += (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) ? 2 : 1;
    }
    return n;
}

QWidget* editorOf(QObject* o)
{
    if (qobject_cast<QLineEdit*>(o) || qobject_cast<QPlainTextEdit*>(o))
        return static_cast<QWidget*>(o);
    if (auto* t = o ? qobject_cast<QPlainTextEdit*>(o->parent()) : nullptr; t && t->viewport() == o)
        return t;
    return nullptr;
}

bool readOnly(const QWidget* w)
{
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->isReadOnly();
    if (auto* t = qobject_cast<const QPlainTextEdit*>(w))
        return t->isReadOnly();
    return true;
}

class PasteGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        QWidget* editor = editorOf(o);
        if (!editor || readOnly(editor))
            return false;
        switch (e->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste))
                return refusePaste(editor, QApplication::clipboard()->text());
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(e)->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection())
                return refusePaste(editor, QApplication::clipboard()->text(QClipboard::Selection));
            break;
        case QEvent::Drop: {
            const QMimeData* data = static_cast<QDropEvent*>(e)->mimeData();
            if (data && data->hasText() && refusePaste(editor, data->text())) {
                e->ignore();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return false;
    }
};

} // namespace

int pasteRoom(const QWidget* editor)
{
    if (auto* e = qobject_cast<const QLineEdit*>(editor))
        return std::max(0, int(e->maxLength() - e->text().size() + e->selectedText().size()));
    if (auto* t = qobject_cast<const QPlainTextEdit*>(editor)) {
        const int limit = t->property("venMaxChars").toInt();
        if (limit <= 0)
            return -1;
        return std::max(0, limit - storedSize(t->toPlainText()) + storedSize(t->textCursor().selectedText()));
    }
    return -1;
}

int pastedSize(const QWidget* editor, const QString& text)
{
    return qobject_cast<const QPlainTextEdit*>(editor) ? storedSize(text) : int(text.size());
}

bool refusePaste(QWidget* editor, const QString& text)
{
    const int room = pasteRoom(editor);
    if (room < 0)
        return false;
    const int size = pastedSize(editor, text);
    if (size <= room)
        return false;
    const auto* line = qobject_cast<const QLineEdit*>(editor);
    const int limit = line ? line->maxLength() : editor->property("venMaxChars").toInt();
    const QString why = room == limit
        ? QStringLiteral("The text to paste has %1 characters; this field holds %2.").arg(size).arg(limit)
        : QStringLiteral("The text to paste has %1 characters; this field holds %2, and %3 more fit in it now.")
              .arg(size).arg(limit).arg(room);
    messageBox(why + QStringLiteral("|Nothing was pasted."), QStringLiteral("Paste Too Long"), Icon::Exclamation);
    editor->setFocus();
    return true;
}

void limitPastes(QWidget* editor)
{
    static auto* guard = new PasteGuard(qApp);
    editor->installEventFilter(guard);
    if (auto* t = qobject_cast<QPlainTextEdit*>(editor))
        t->viewport()->installEventFilter(guard);
}

} // namespace ven
