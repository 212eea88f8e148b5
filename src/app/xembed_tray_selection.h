#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

namespace pw::app {

// Who owns the XEmbed tray selection of the default screen, followed from the
// X server's own events rather than asked every second: a tray that starts
// announces itself with a MANAGER message on the root window, and one that
// goes destroys its selection window. Does nothing off X11.
class XembedTraySelection : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit XembedTraySelection(QObject* parent = nullptr);
    ~XembedTraySelection() override;

    bool present() const { return m_owner != 0; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void presenceChanged(bool present);

private:
    // Asks the server for the owner and follows it until it goes.
    void refreshOwner();
    void follow(std::uint32_t window);

    std::uint32_t m_selection = 0; // the _NET_SYSTEM_TRAY_Sn atom
    std::uint32_t m_manager = 0;   // the MANAGER atom
    std::uint32_t m_owner = 0;     // the selection window, 0 when none
};

} // namespace pw::app
