#include "platform/X11PrimarySelection.h"

#include "platform/Logging.h"

#include <QElapsedTimer>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>

namespace {

template <class T> using Reply = std::unique_ptr<T, decltype(&std::free)>;
template <class T> Reply<T> Owned(T *reply) { return Reply<T>(reply, &std::free); }

constexpr xcb_atom_t Primary = XCB_ATOM_PRIMARY;

} // namespace

X11PrimarySelection::X11PrimarySelection()
{
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    m_resourceMask = setup->resource_id_mask;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(setup).data;
    m_requestor = xcb_generate_id(m_connection);
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_requestor, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    m_themeVariant = atom("_GTK_THEME_VARIANT");
    m_utf8 = atom("UTF8_STRING");
    m_property = atom("STENOVA_SELECTION");
}

X11PrimarySelection::~X11PrimarySelection()
{
    if (m_connection) xcb_disconnect(m_connection);
}

unsigned X11PrimarySelection::atom(const char *name)
{
    const auto reply = Owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

bool X11PrimarySelection::hasProperty(unsigned window, unsigned property)
{
    const auto reply = Owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    return reply && reply->type != XCB_ATOM_NONE;
}

bool X11PrimarySelection::isGtkTextWindow(unsigned window)
{
    // GTK 3 marks its top-level windows with the theme variant.
    if (!hasProperty(window, m_themeVariant)) return false;
    const auto wmClass = Owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), nullptr));
    const QString names = wmClass
                              ? QString::fromLatin1(static_cast<const char *>(xcb_get_property_value(wmClass.get())),
                                                    xcb_get_property_value_length(wmClass.get()))
                                    .toLower()
                              : QString();
    for (const char *own : {"libreoffice", "soffice", "firefox", "thunderbird", "chrom", "terminal", "evolution"})
        if (names.contains(QLatin1String(own))) return false;
    return true;
}

std::optional<QString> X11PrimarySelection::selectedText(unsigned window, int timeoutMs)
{
    if (!m_connection || !window) return std::nullopt;
    if (!isGtkTextWindow(window)) {
        qCDebug(lcAutomation) << "not a GTK text window: copying";
        return std::nullopt;
    }
    const auto owner =
        Owned(xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, Primary), nullptr));
    if (!owner || owner->owner == XCB_NONE || (owner->owner & ~m_resourceMask) != (window & ~m_resourceMask)) {
        qCDebug(lcAutomation) << "PRIMARY is not the text window's: nothing is selected there";
        return QString();
    }
    return convert(timeoutMs);
}

std::optional<QString> X11PrimarySelection::convert(int timeoutMs)
{
    const xcb_atom_t utf8 = m_utf8, property = m_property;
    // An answer that came after an earlier timeout must not pass for this one.
    while (Owned(xcb_poll_for_event(m_connection))) {}
    xcb_delete_property(m_connection, m_requestor, property);
    xcb_convert_selection(m_connection, m_requestor, Primary, utf8, property, XCB_CURRENT_TIME);
    xcb_flush(m_connection);

    QElapsedTimer elapsed;
    elapsed.start();
    bool converted = false;
    for (;;) {
        while (auto event = Owned(xcb_poll_for_event(m_connection))) {
            if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) continue;
            const auto *notify = reinterpret_cast<const xcb_selection_notify_event_t *>(event.get());
            if (notify->requestor != m_requestor || notify->selection != Primary) continue;
            if (notify->property == XCB_NONE) return std::nullopt; // the owner refused
            converted = true;
            break;
        }
        if (converted) break;
        const int left = timeoutMs - static_cast<int>(elapsed.elapsed());
        if (left <= 0 || xcb_connection_has_error(m_connection)) {
            qCWarning(lcAutomation) << "the owner of PRIMARY did not answer: copying";
            return std::nullopt;
        }
        pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&fd, 1, left);
    }
    const auto reply = Owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 1, m_requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
        nullptr));
    if (!reply || reply->type != utf8) return std::nullopt; // INCR or another type: too large or unknown
    return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}
