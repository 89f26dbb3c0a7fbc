// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bodies of the REPORTs and PROPFINDs a sync round sends (RFC 4791, RFC 6578).
namespace jot::sync {

// What changed since `token` (empty: everything), with each item's ETag.
QByteArray syncCollectionBody(const QString& token);
// Every VTODO of the list, with its ETag only.
QByteArray vtodoListingBody();
// The items at `paths` (decoded paths), with their ETags and data.
QByteArray multigetBody(const QStringList& paths);
// The list's current sync token (a Depth 0 PROPFIND).
QByteArray syncTokenBody();

// A decoded path as an href: percent-encoded, '/' kept.
QByteArray encodedPath(const QString& path);

} // namespace jot::sync
