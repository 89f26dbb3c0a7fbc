// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/about.h"

#include "ui/messagebox.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QSpacerItem>

namespace jot {

namespace {
// Room for the title bar's icon and buttons beside the title, in lines of text: the box is
// otherwise only as wide as its short text, and window managers cut the title ("A…ut").
constexpr int kTitleButtons = 8;

// The width the title needs, in a bold font as title bars use.
int titleWidth(const QMessageBox& box) {
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics fm(font);
    return fm.horizontalAdvance(box.windowTitle()) + kTitleButtons * fm.height();
}
} // namespace

void m_apropos(QWidget* parent) {
    QMessageBox box(QMessageBox::Information,
                    QCoreApplication::translate("jot::m_apropos", "About"),
                    QStringLiteral("Jotlark v1.2"), QMessageBox::Ok, parent);
    // The licence below the name: whoever got a copy learns what they may do with it.
    box.setInformativeText(
        QStringLiteral("Copyright \u00a9 2026 The Jotlark developers\n\n"
                       "Free software under the GNU General Public License, version 3 or later "
                       "(GPL-3.0-or-later): you may share and change it under its terms. "
                       "It comes with no warranty."));
    box.setDefaultButton(QMessageBox::Ok);
    // The box sizes itself to its layout: a row as wide as the title keeps it whole.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth(box), 0), grid->rowCount(), 0, 1,
                      grid->columnCount());
    showBox(box);
}

} // namespace jot
