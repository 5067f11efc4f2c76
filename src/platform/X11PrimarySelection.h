#pragma once

#include <QString>
#include <optional>

struct xcb_connection_t;

// Reads the text selected in another program's window from the PRIMARY selection, without
// the clipboard and without a synthesized copy, where that is exact. X11 keeps PRIMARY with
// whichever client selected last, and toolkits differ. A GTK 3 text control owns PRIMARY
// exactly while it has a selection: it gives PRIMARY up when its selection is cleared and
// clears its selection when another program takes PRIMARY. So for a GTK 3 window PRIMARY
// tells the selection: its text when the window's own client owns it, nothing selected
// otherwise. Qt keeps PRIMARY after its selection is cleared, and other programs are not
// known: for them nothing can be told and the caller copies instead. Programs that bring
// their own document editing into a GTK window (office suites, browsers, terminals) are
// not taken for GTK text controls. An owner that does not answer within the timeout is
// given up.
class X11PrimarySelection {
public:
    X11PrimarySelection();
    ~X11PrimarySelection();
    X11PrimarySelection(const X11PrimarySelection &) = delete;
    X11PrimarySelection &operator=(const X11PrimarySelection &) = delete;

    // The selected text of the window's client (empty when nothing is selected), or nullopt
    // when it cannot be told from PRIMARY.
    std::optional<QString> selectedText(unsigned window, int timeoutMs = 100);

private:
    unsigned atom(const char *name);
    bool hasProperty(unsigned window, unsigned property);
    bool isGtkTextWindow(unsigned window);
    std::optional<QString> convert(int timeoutMs);

    xcb_connection_t *m_connection = nullptr;
    unsigned m_requestor = 0; // an unmapped window of its own that receives the text
    unsigned m_resourceMask = 0;
    // Interned once: every ESC press looks at them.
    unsigned m_themeVariant = 0, m_utf8 = 0, m_property = 0;
};
