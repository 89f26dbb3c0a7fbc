// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIdentityProxyModel>

namespace jot {

// The task list as the grid shows it: a repeating alarm with its rule after the time
// ("Monday 12/14 9:00 am, every week"); the cells themselves keep the stored forms.
class AlarmColumn : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

} // namespace jot
