#pragma once

#include <QWidget>

// The help window: a fixed text and "Ok". Deletes itself when closed.
class f_help : public QWidget {
    Q_OBJECT
public:
    f_help();

    static const QString& helpText(); // CR LF lines
};
