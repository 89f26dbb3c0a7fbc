// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filechooser.h"

#include <QFileDialog>

namespace jot {

namespace {
FileResponder& responder() {
    static FileResponder r;
    return r;
}
} // namespace

QString chooseFile(QWidget* parent, FileChoice kind, const QString& title, const QString& filter,
                   const QString& suggested) {
    if (responder())
        return responder()(kind);
    return kind == FileChoice::Open
               ? QFileDialog::getOpenFileName(parent, title, QString(), filter)
               : QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

void setFileResponderForTests(FileResponder r) {
    responder() = std::move(r);
}

} // namespace jot
