// Program entry: prepares the process-wide services, runs the frame and
// releases the services again in reverse order.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setWindowTitle("My Personal Vendrolix");
    frame.show();
    return app.exec();
}
