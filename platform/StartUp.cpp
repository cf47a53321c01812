// Work moved off the path to the first window: a warm-up on a worker thread
// and work run once the window is on the screen.
#include "platform/StartUp.h"

#include <QEvent>
#include <QImageReader>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace ven {

void warmUpInBackground()
{
    QThreadPool::globalInstance()->start([] {
        // The first image read loads and asks every image format plugin.
        // (Fonts are left to the GUI thread: measured there and here at
        // once, both threads read the font configuration whole.)
        QImageReader::supportedImageFormats();
    });
}

namespace {

// Watches a window for its first exposure; the work is posted, so that it
// runs after the paint that the exposure starts.
class FirstExposure : public QObject {
public:
    FirstExposure(QWindow* window, std::function<void()> work) : QObject(window), work_(std::move(work))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Expose && static_cast<QWindow*>(o)->isExposed()) {
            o->removeEventFilter(this);
            QTimer::singleShot(0, o, std::move(work_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> work_;
};

} // namespace

void whenFirstShown(QWidget* window, std::function<void()> work)
{
    QWindow* handle = window ? window->window()->windowHandle() : nullptr;
    if (!handle) {
        QTimer::singleShot(0, std::move(work));
        return;
    }
    if (handle->isExposed()) {
        QTimer::singleShot(0, handle, std::move(work));
        return;
    }
    new FirstExposure(handle, std::move(work));
}

} // namespace ven
