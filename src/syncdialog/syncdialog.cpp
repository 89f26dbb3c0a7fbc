// SPDX-License-Identifier: GPL-3.0-or-later
#include "syncdialog/syncdialog.h"

#include "calendar/calendarfile.h"
#include "net/davtransport.h"
#include "store/clock.h"
#include "sync/passwordstore.h"
#include "sync/syncsettings.h"
#include "ui/messagebox.h"
#include "ui/programicon.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

using jot::sync::Discovery;
using jot::sync::DiscoveryProblem;

namespace {
const QString kNewListName = QStringLiteral("Jotlark");

// What the first connect compares: stamp and text of the tasks that would be synced.
QList<std::pair<QString, QString>> stampsAndTexts(const QList<jot::TaskRow>& rows) {
    QList<std::pair<QString, QString>> out;
    for (const jot::TaskRow& r : rows)
        if (r[jot::ColSlot] != jot::kPlaceholderSlot &&
            !(jot::isBlank(r[jot::ColText]) && r[jot::ColAlarm].isEmpty()))
            out.append({r[jot::ColStamp], r[jot::ColText]});
    return out;
}
} // namespace

SyncDialog::SyncDialog(const QString& dataDir, const QList<jot::TaskRow>& here,
                       jot::sync::PasswordStore* store, QWidget* parent)
    : QDialog(parent), m_dataDir(dataDir), m_here(here), m_store(store) {
    setObjectName(QStringLiteral("SyncDialog"));
    setWindowTitle(tr("Sync with a CalDAV server"));
    setWindowIcon(jot::programIcon());

    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };
    m_address = new QLineEdit(this);
    named(m_address, "m_address");
    m_address->setPlaceholderText(tr("dav.example.org"));
    m_user = new QLineEdit(this);
    named(m_user, "m_user");
    m_password = new QLineEdit(this);
    named(m_password, "m_password");
    m_password->setEchoMode(QLineEdit::Password);
    m_connect = new QPushButton(tr("Connect"), this);
    named(m_connect, "m_connect");
    m_connect->setDefault(true);
    m_lists = new QListWidget(this);
    named(m_lists, "m_lists");
    m_lists->setAccessibleName(tr("Task lists"));
    m_use = new QPushButton(tr("Sync with this list"), this);
    named(m_use, "m_use");
    m_use->setEnabled(false);
    m_stop = new QPushButton(tr("Stop syncing"), this);
    named(m_stop, "m_stop");
    m_close = new QPushButton(tr("Close"), this);
    named(m_close, "m_close");
    m_status = new QLabel(this);
    named(m_status, "m_status");
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse); // a fingerprint to compare

    auto* form = new QFormLayout;
    form->addRow(tr("Server &address:"), m_address);
    form->addRow(tr("&User name:"), m_user);
    form->addRow(tr("&Password:"), m_password);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_use, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_stop, QDialogButtonBox::DestructiveRole);
    buttons->addButton(m_close, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_connect, 0, Qt::AlignRight);
    layout->addWidget(m_lists);
    layout->addWidget(m_status);
    layout->addWidget(buttons);
    // Room for a list's full address and a fingerprint's 95 characters over two lines.
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);

    m_transport = new DavTransport(this);
    connect(m_transport, &DavTransport::answered, this, &SyncDialog::answered);
    connect(m_connect, &QPushButton::clicked, this, &SyncDialog::connectClicked);
    connect(m_use, &QPushButton::clicked, this, &SyncDialog::useClicked);
    connect(m_stop, &QPushButton::clicked, this, &SyncDialog::stopClicked);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_lists, &QListWidget::itemDoubleClicked, this, &SyncDialog::useClicked);
    showSetUp();
}

SyncDialog::~SyncDialog() = default;

void SyncDialog::showSetUp() {
    QString why;
    const auto settings = jot::sync::readSyncSettings(jot::sync::syncConfigPath(), &why);
    // A file it cannot read can still be stopped: Stop removes it.
    m_setUp = settings.has_value() || QFile::exists(jot::sync::syncConfigPath());
    m_stop->setEnabled(m_setUp);
    if (!settings) {
        if (!why.isEmpty())
            say(why);
        return;
    }
    m_address->setText(settings->list.toString());
    m_user->setText(settings->user);
    m_certificate = settings->certificate;
    m_passwordCommand = settings->passwordCommand;
    say(tr("Syncing with %1.").arg(settings->list.toDisplayString()));
    QPointer<SyncDialog> self(this);
    m_store->read(jot::sync::passwordKey(settings->user, settings->list),
                  [self](const jot::sync::PasswordAnswer& a) {
                      if (self && a.ok && self->m_password->text().isEmpty())
                          self->m_password->setText(a.password);
                  });
}

void SyncDialog::say(const QString& text) {
    m_status->setText(text);
}

void SyncDialog::finish(const QString& text) {
    say(text);
    setBusy(false);
    Q_EMIT idle();
}

void SyncDialog::setBusy(bool busy) {
    m_connect->setEnabled(!busy);
    m_use->setEnabled(!busy && m_lists->currentItem());
    m_stop->setEnabled(!busy && m_setUp);
    if (busy)
        say(tr("Connecting…"));
}

void SyncDialog::connectClicked() {
    const QUrl address = Discovery::addressFromInput(m_address->text());
    m_lists->clear();
    m_home.clear();
    if (address.isEmpty() || !address.isValid() || address.host().isEmpty())
        return finish(tr("Type the server's address."));
    if (const QString problem = jot::sync::addressProblem(address); !problem.isEmpty())
        return finish(problem);
    if (m_user->text().trimmed().isEmpty())
        return finish(tr("Type the user name."));
    run(Discovery::find(address), &SyncDialog::found);
}

void SyncDialog::run(jot::sync::Discovery discovery, void (SyncDialog::*then)()) {
    m_transport->setCredentials(m_user->text().trimmed(), m_password->text());
    m_transport->setAcceptedCertificate(m_certificate);
    m_start = discovery;
    m_discovery = std::move(discovery);
    m_then = then;
    setBusy(true);
    if (const auto request = m_discovery->next())
        m_transport->send(*request);
    else
        (this->*m_then)();
}

void SyncDialog::answered(const jot::sync::Reply& reply) {
    if (!m_discovery)
        return;
    m_discovery->take(reply);
    if (const auto request = m_discovery->next())
        return m_transport->send(*request);
    const jot::sync::DiscoveryResult& r = m_discovery->result();
    if (r.problem != DiscoveryProblem::UntrustedCertificate)
        return (this->*m_then)();
    // A certificate the system trusts is never pinned: only an untrusted one is asked about,
    // and once accepted no other untrusted one passes.
    if (!m_certificate.isEmpty() && m_certificate != r.certificate)
        return finish(tr("The server's certificate is not the one accepted before, and this "
                         "system does not trust it: it is refused. Its SHA-256 fingerprint is %1.")
                          .arg(Discovery::fingerprintText(r.certificate)));
    const auto answer = jot::askUser(
        this, QMessageBox::Warning, tr("Certificate not trusted"),
        r.message + QStringLiteral("\n\n") +
            tr("Home servers often sign their own certificate. Trust it only if this fingerprint "
               "is the one the server shows. Trust this certificate?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return finish(r.message);
    m_certificate = r.certificate;
    run(*m_start, m_then);
}

void SyncDialog::found() {
    const jot::sync::DiscoveryResult& r = m_discovery->result();
    if (r.problem != DiscoveryProblem::None && r.problem != DiscoveryProblem::NoTaskList)
        return finish(r.message);
    m_home = r.home;
    for (const jot::sync::FoundList& list : r.lists) {
        auto* item = new QListWidgetItem(list.name.isEmpty() ? list.url.path() : list.name);
        item->setData(Qt::UserRole, list.url);
        item->setToolTip(list.url.toDisplayString());
        m_lists->addItem(item);
    }
    if (m_home.isValid())
        m_lists->addItem(tr("New list \"Jotlark\""));
    m_lists->setCurrentRow(0);
    finish(r.lists.isEmpty() ? r.message : tr("Pick the task list to sync with."));
}

void SyncDialog::useClicked() {
    const QListWidgetItem* item = m_lists->currentItem();
    if (!item || !m_connect->isEnabled())
        return;
    m_chosen = item->data(Qt::UserRole).toUrl();
    if (m_chosen.isEmpty())
        return run(Discovery::create(m_home, kNewListName), &SyncDialog::made);
    if (stampsAndTexts(m_here).isEmpty())
        return save(m_chosen);
    run(Discovery::listItems(m_chosen), &SyncDialog::itemsListed);
}

void SyncDialog::made() {
    const jot::sync::DiscoveryResult& r = m_discovery->result();
    if (r.problem != DiscoveryProblem::None)
        return finish(r.message);
    save(r.created);
}

void SyncDialog::itemsListed() {
    const jot::sync::DiscoveryResult& r = m_discovery->result();
    if (r.problem != DiscoveryProblem::None)
        return finish(r.message);
    QList<jot::TaskRow> there;
    for (const QString& item : r.items)
        for (const jot::CalendarTask& task : jot::readCalendar(item.toUtf8(), jot::now()).tasks)
            there.append(task.row);
    const auto here = stampsAndTexts(m_here);
    const auto onServer = stampsAndTexts(there);
    if (!onServer.isEmpty()) {
        const auto c = jot::sync::countFirstSync(here, onServer);
        const auto answer = jot::askUser(
            this, QMessageBox::Question, tr("Sync both lists"),
            tr("This list and the server's both hold tasks. %1 are on both sides and will be "
               "linked; %2 will go to the server and %3 will come here. No task is deleted. "
               "Sync them?")
                .arg(c.linked)
                .arg(c.up)
                .arg(c.down),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes)
            return finish(tr("Nothing was set up."));
    }
    save(m_chosen);
}

void SyncDialog::save(const QUrl& list) {
    jot::sync::SyncSettings settings;
    settings.list = list;
    settings.user = m_user->text().trimmed();
    settings.passwordCommand = m_passwordCommand;
    settings.certificate = m_certificate;
    QString why;
    if (!jot::sync::writeSyncSettings(jot::sync::syncConfigPath(), settings, &why))
        return finish(tr("The settings could not be written: %1").arg(why));
    m_setUp = true;
    m_lists->clear(); // picked: another pick would be another set-up
    const QString key = jot::sync::passwordKey(settings.user, list);
    const QString password = m_password->text();
    const QString done = tr("Syncing with %1.").arg(list.toDisplayString());
    QPointer<SyncDialog> self(this);
    setBusy(true);
    m_store->write(key, password, [self, key, password, done](const jot::sync::PasswordAnswer& a) {
        if (!a.ok)
            jot::sync::keepForThisRun(key, password);
        if (!self)
            return;
        self->finish(a.ok ? done
                          : done + QLatin1Char(' ') +
                                tr("No keyring keeps passwords on this desktop (%1): the "
                                   "password is kept until Jotlark ends, and asked for at the "
                                   "next start.")
                                    .arg(a.error));
        Q_EMIT self->configured();
    });
}

void SyncDialog::stopClicked() {
    if (!m_setUp || !m_connect->isEnabled())
        return;
    QString why;
    const auto settings = jot::sync::readSyncSettings(jot::sync::syncConfigPath(), &why);
    if (QFile::exists(jot::sync::syncConfigPath()) && !QFile::remove(jot::sync::syncConfigPath()))
        return finish(tr("The settings could not be removed."));
    // The state is only what the sync remembers: every task stays, here and on the server.
    QDir(jot::sync::syncStateDir(m_dataDir)).removeRecursively();
    m_setUp = false;
    m_certificate.clear();
    m_passwordCommand.clear();
    m_lists->clear();
    Q_EMIT stopped();
    const QString done = tr("Sync is stopped. No task was removed, here or on the server.");
    if (!settings)
        return finish(done);
    const QString key = jot::sync::passwordKey(settings->user, settings->list);
    jot::sync::forgetForThisRun(key);
    QPointer<SyncDialog> self(this);
    setBusy(true);
    m_store->remove(key, [self, done](const jot::sync::PasswordAnswer& a) {
        if (self)
            self->finish(a.ok || a.noKeyring
                             ? done
                             : done + QLatin1Char(' ') +
                                   tr("The password could not be removed from the keyring: %1")
                                       .arg(a.error));
    });
}
