#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

class QSerialPort;

// A failure of the serial port: a fixed text followed by the system's error number.
struct RelayError {
    QString message;
};

// The one serial link to the relay modules. Port index 0 to 3 opens the device the registry names
// under COM1 to COM4 with the modules' fixed line settings: 9600 baud, 8 data bits, no parity, two
// stop bits, no flow control, DTR and RTS inactive where the device has them. Every operation on
// a link that is not open, and every failure of the device, throws RelayError; nothing is ever
// read from the line.
class RelayLink final {
public:
    RelayLink();
    ~RelayLink();
    Q_DISABLE_COPY_MOVE(RelayLink)

    // Closes first when open. Throws "Unable to open com port: " or "Unable to set com state: ".
    void open(int portIndex);
    void close();
    bool isOpen() const;
    // The device the link was last opened on (empty before any open).
    const QString& device() const { return device_; }

    // Writes every byte and waits until they left; returns the count. "Unable to write to port: ".
    qint64 write(const QByteArray& bytes);
    // Clear the transmit or the receive side. "Unable to purge com: ".
    void purgeOutput();
    void purgeInput();

private:
    std::unique_ptr<QSerialPort> port_;
    QString device_;
};
