// SPDX-License-Identifier: GPL-3.0-or-later
#include "launch/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace jot {

void loadQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    // "qt" takes in every Qt module's catalogue for the locale (qtbase holds the dialogs).
    if (!translator->load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    app.installTranslator(translator);
}

void loadJotlarkTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    // Embedded in the program; English, the source language, needs none.
    if (!translator->load(QLocale(), QStringLiteral("jotlark"), QStringLiteral("_"),
                          QStringLiteral(":/i18n"))) {
        delete translator;
        return;
    }
    app.installTranslator(translator);
}

} // namespace jot
