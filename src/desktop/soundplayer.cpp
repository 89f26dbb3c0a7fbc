// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/soundplayer.h"

#include <QGuiApplication>
#include <QLibrary>
#include <QtEndian>
#include <canberra.h>
#include <cstdio>
#include <type_traits>
#include <xcb/xcb.h>

namespace jot {

namespace {

std::function<std::unique_ptr<SoundPlayer>()> s_factory;

// The theme's sound for an alarm, and the one every theme has.
constexpr const char* kAlarmSound = "alarm-clock-elapsed";
constexpr const char* kFallbackSound = "bell";

// The property of the XSettings manager of the default screen, or empty: no X11, or no
// settings daemon.
QByteArray xsettingsProperty() {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return {};
    const auto atom = [c](const QByteArray& name) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(name.size()), name.constData()), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    const xcb_atom_t selection = atom("_XSETTINGS_S0");
    const xcb_atom_t settings = atom("_XSETTINGS_SETTINGS");
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const xcb_window_t window = owner ? owner->owner : xcb_window_t(XCB_WINDOW_NONE);
    free(owner);
    if (window == XCB_WINDOW_NONE || settings == XCB_ATOM_NONE)
        return {};
    xcb_get_property_reply_t* p = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, settings, settings, 0, 1 << 20), nullptr);
    QByteArray bytes;
    if (p)
        bytes = QByteArray(static_cast<const char*>(xcb_get_property_value(p)),
                           xcb_get_property_value_length(p));
    free(p);
    return bytes;
}

class CanberraPlayer : public SoundPlayer {
public:
    ~CanberraPlayer() override {
        if (m_context)
            m_destroy(m_context);
    }

    void play() override {
        if (!m_context && !open())
            return;
        int r = playSound(kAlarmSound);
        if (r == CA_ERROR_NOTFOUND)
            r = playSound(kFallbackSound);
        if (r < 0)
            std::fprintf(stderr, "jotlark: the alarm sound did not play: %s\n", m_strerror(r));
    }

private:
    // Made at the first alarm that needs it: it connects to the sound server.
    bool open() {
        if (!load())
            return false;
        int r = m_create(&m_context);
        if (r == CA_SUCCESS) {
            // Plain libcanberra reads no desktop settings: the theme is given here, and an
            // alarm is no event sound that the desktop's switch for those may silence.
            QString theme = xsettingsString(xsettingsProperty(), "Net/SoundThemeName");
            if (theme.isEmpty())
                theme = QStringLiteral("freedesktop");
            r = m_changeProps(m_context, CA_PROP_APPLICATION_NAME, "Jotlark",
                              CA_PROP_APPLICATION_ID, JOT_APP_ID, CA_PROP_APPLICATION_ICON_NAME,
                              JOT_APP_ID, CA_PROP_CANBERRA_XDG_THEME_NAME,
                              theme.toUtf8().constData(), CA_PROP_CANBERRA_ENABLE, "1", nullptr);
        }
        if (r == CA_SUCCESS)
            r = m_open(m_context);
        if (r == CA_SUCCESS)
            return true;
        std::fprintf(stderr, "jotlark: no sound server for the alarm sound: %s\n", m_strerror(r));
        if (m_context)
            m_destroy(m_context);
        m_context = nullptr;
        return false;
    }

    int playSound(const char* id) {
        // Streamed, not kept in the server's sample cache: alarms are rare.
        return m_play(m_context, 0, CA_PROP_EVENT_ID, id, CA_PROP_EVENT_DESCRIPTION, "Alarm",
                      CA_PROP_CANBERRA_CACHE_CONTROL, "never", nullptr);
    }

    // libcanberra, loaded when the first sound must play: linked, it and the libraries it
    // brings (Vorbis, tdb, libltdl) would load at every start, for an alarm that may never
    // ring. False with the reason on stderr.
    bool load() {
        if (m_create)
            return true;
        QLibrary library(QStringLiteral("canberra"), 0); // never unloaded
        QString failure;
        const auto resolve = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            if (!function)
                failure = QStringLiteral("%1 is missing in %2")
                              .arg(QLatin1String(name), library.fileName());
            return function != nullptr;
        };
        if (!library.load())
            failure = library.errorString();
        else if (resolve(m_destroy, "ca_context_destroy") &&
                 resolve(m_changeProps, "ca_context_change_props") &&
                 resolve(m_open, "ca_context_open") && resolve(m_play, "ca_context_play") &&
                 resolve(m_strerror, "ca_strerror") && resolve(m_create, "ca_context_create"))
            return true;
        m_create = nullptr;
        std::fprintf(stderr, "jotlark: no libcanberra for the alarm sound: %s\n",
                     qPrintable(failure));
        return false;
    }

    decltype(&ca_context_create) m_create = nullptr; // resolved last: the others are there
    decltype(&ca_context_destroy) m_destroy = nullptr;
    decltype(&ca_context_change_props) m_changeProps = nullptr;
    decltype(&ca_context_open) m_open = nullptr;
    decltype(&ca_context_play) m_play = nullptr;
    decltype(&ca_strerror) m_strerror = nullptr;
    ca_context* m_context = nullptr;
};

} // namespace

std::unique_ptr<SoundPlayer> createSoundPlayer() {
    if (s_factory)
        return s_factory();
    return std::make_unique<CanberraPlayer>();
}

void setSoundPlayerForTests(std::function<std::unique_ptr<SoundPlayer>()> factory) {
    s_factory = std::move(factory);
}

QString xsettingsString(const QByteArray& property, const QByteArray& name) {
    // Byte order (X's LSBFirst 0 or MSBFirst 1), 3 unused, serial, count; then each setting: type,
    // unused, name length (16 bits), name padded to 4, serial; a string (type 1) is its length and
    // bytes padded to 4, an integer 4 bytes, a colour 8.
    const auto pad = [](qsizetype n) { return (n + 3) & ~qsizetype(3); };
    if (property.size() < 12)
        return {};
    const bool big = property[0] == 1;
    const auto u32 = [&](qsizetype at) {
        const auto* p = reinterpret_cast<const uchar*>(property.constData()) + at;
        return big ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    };
    const auto u16 = [&](qsizetype at) {
        const auto* p = reinterpret_cast<const uchar*>(property.constData()) + at;
        return big ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    };
    const quint32 count = u32(8);
    qsizetype at = 12;
    for (quint32 k = 0; k < count && at + 4 <= property.size(); ++k) {
        const int type = property[at];
        const qsizetype nameLength = u16(at + 2);
        const qsizetype nameAt = at + 4;
        at = nameAt + pad(nameLength) + 4;
        if (at > property.size())
            return {};
        const QByteArray key = property.mid(nameAt, nameLength);
        if (type == 0) {
            at += 4;
        } else if (type == 1) {
            if (at + 4 > property.size())
                return {};
            const qsizetype length = u32(at);
            if (length > property.size() - at - 4)
                return {};
            if (key == name)
                return QString::fromUtf8(property.mid(at + 4, length));
            at += 4 + pad(length);
        } else if (type == 2) {
            at += 8;
        } else {
            return {};
        }
    }
    return {};
}

} // namespace jot
