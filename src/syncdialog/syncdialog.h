// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "store/tasklist.h"
#include "sync/discovery.h"

#include <QDialog>
#include <QList>
#include <optional>

class DavTransport;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
namespace jot::sync {
class PasswordStore;
}

// Sets up the sync with a CalDAV task list as a person does: the server's address, the user
// and the password, Connect to find their task lists, one picked (or a new one made), and
// sync.conf written with the password in the keyring. Once set up, Stop syncing undoes it
// all but the tasks. Never modal and never waiting on the network: every step answers later.
class SyncDialog : public QDialog {
    Q_OBJECT
public:
    // `here`: the tasks of the list now, for the first connect's question.
    SyncDialog(const QString& dataDir, const QList<jot::TaskRow>& here,
               jot::sync::PasswordStore* store, QWidget* parent = nullptr);
    ~SyncDialog() override;

Q_SIGNALS:
    void idle();       // a step is over: what it found or why it stopped is on show
    void configured(); // sync.conf was written: a sync may start
    void stopped();    // sync.conf, the state and the password are gone

private:
    void connectClicked();
    void useClicked();
    void stopClicked();
    void run(jot::sync::Discovery discovery, void (SyncDialog::*then)());
    void answered(const jot::sync::Reply& reply);
    void found();       // the lists, or why there are none
    void made();        // the new list
    void itemsListed(); // the chosen list's items, for the first connect's question
    void save(const QUrl& list);
    void say(const QString& text);
    void finish(const QString& text);
    void setBusy(bool busy);
    void showSetUp();

    QString m_dataDir;
    QList<jot::TaskRow> m_here;
    jot::sync::PasswordStore* m_store;
    DavTransport* m_transport = nullptr;
    std::optional<jot::sync::Discovery> m_discovery;
    std::optional<jot::sync::Discovery> m_start; // as it began: run again once trusted
    QUrl m_chosen;
    void (SyncDialog::*m_then)() = nullptr;
    QUrl m_home;
    QByteArray m_certificate;      // accepted before, or now
    QStringList m_passwordCommand; // kept from the file: it still wins over the keyring
    bool m_setUp = false;

    QLineEdit* m_address = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QPushButton* m_connect = nullptr;
    QListWidget* m_lists = nullptr;
    QPushButton* m_use = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_close = nullptr;
    QLabel* m_status = nullptr;
};
