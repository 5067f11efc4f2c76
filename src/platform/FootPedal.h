#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class QSocketNotifier;

// The USB transcription foot pedals the program finds by itself: three pedals, left, middle
// and right, reported through hidraw as one byte of pedal bits (1 left, 2 middle, 4 right).
struct PedalModel {
    std::uint16_t vendor, product;
    const char *name;
};
inline constexpr PedalModel PedalModels[] = {
    // P.I. Engineering's VEC Infinity pedals (IN-USB-1, IN-USB-2): the Linux kernel knows the id
    // as USB_VENDOR_ID_PI_ENGINEERING / USB_DEVICE_ID_PI_ENGINEERING_VEC_USB_FOOTPEDAL
    // (drivers/hid/hid-ids.h, with a quirk in hid-quirks.c).
    {0x05f3, 0x00ff, "VEC Infinity USB"},
};

// A foot pedal read through its device file: a hidraw device of a supported model, or an input
// device (evdev) of a pedal that presents itself as a keyboard, whose three keys are given.
// Tests give it a pipe. Reports which pedals are held; a device that goes away (unplugged, a
// read error) releases every pedal and reports it gone.
class FootPedal : public QObject {
    Q_OBJECT
public:
    enum class Kind { HidReports, InputKeys };
    explicit FootPedal(QObject *parent = nullptr);
    ~FootPedal() override;
    // keys: the input key codes of the left, middle and right pedal (InputKeys only). False
    // with the system's reason in *error when the device cannot be read.
    bool open(const QString &path, Kind kind, QString *error, const int (&keys)[3] = {0, 0, 0});
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int down() const { return m_down; } // bit 0 left, 1 middle, 2 right

    // The hidraw device of the first supported pedal plugged in, or empty; its model's name in
    // *model. sysRoot: the sysfs folder of the hidraw class (tests give another).
    static QString Find(QString *model, const QString &sysRoot = QStringLiteral("/sys/class/hidraw"));
    // The keyboards plugged in, by their lasting names ("usb-…-event-kbd"): a keyboard pedal
    // is one of them.
    static QStringList KeyboardDevices(const QString &folder = QStringLiteral("/dev/input/by-id"));

signals:
    void changed(int pedal, bool down); // pedal 0 left, 1 middle, 2 right
    void gone();
    void keyPressed(int code); // any key of an input device, to learn a pedal's keys

private:
    void readReports();
    void set(int bits);

    int m_fd = -1;
    Kind m_kind = Kind::HidReports;
    int m_keys[3] = {};
    int m_down = 0;
    QSocketNotifier *m_notifier = nullptr;
};
