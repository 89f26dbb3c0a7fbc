// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace jot {

// The About message box, modal.
void m_apropos(QWidget* parent);

} // namespace jot
