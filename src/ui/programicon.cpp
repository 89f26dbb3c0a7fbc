// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/programicon.h"

#include <QIconEngine>
#include <iterator>

namespace {

constexpr int kDrawnSizes[] = {16, 22, 24, 32, 48};
constexpr int kLargestDrawnPx = kDrawnSizes[std::size(kDrawnSizes) - 1];

class ProgramIconEngine : public QIconEngine {
public:
    ProgramIconEngine() {
        for (int size : kDrawnSizes)
            m_drawn.addFile(QStringLiteral(":/icons/jotlark-%1.png").arg(size), QSize(size, size));
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        iconFor(rect.size()).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return iconFor(size).pixmap(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return m_drawn.availableSizes(mode, state);
    }
    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }

private:
    const QIcon& iconFor(const QSize& size) const {
        return qMax(size.width(), size.height()) > kLargestDrawnPx ? m_scalable : m_drawn;
    }

    QIcon m_drawn;
    QIcon m_scalable{QStringLiteral(":/icons/jotlark.svg")};
};

} // namespace

namespace jot {

QIcon programIcon() {
    // Built once: every window shares its pixmaps.
    static const QIcon icon(new ProgramIconEngine);
    return icon;
}

} // namespace jot
