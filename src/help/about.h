#pragma once

class QWidget;

namespace jot {

// The About message box, modal.
void m_apropos(QWidget* parent);

} // namespace jot
