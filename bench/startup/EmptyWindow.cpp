// The floor for start-up: an empty 600 x 400 main window, shown as Portico shows its own.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(600, 400);
    window.show();
    return QApplication::exec();
}
