#include "mainwin/f_iir.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    f_iir w;
    w.Form_Load();
    return app.exec();
}
