#include "lights/relaylink.h"

#include "platform/registry.h"

#include <QSerialPort>

#include <cerrno>

namespace {

// The port's own error number when the system gave one; a closed link reports a bad handle.
[[noreturn]] void fail(const char* prefix, int error)
{
    throw RelayError{QLatin1String(prefix) + QString::number(error)};
}

int systemError()
{
    return errno != 0 ? errno : EIO;
}

} // namespace

RelayLink::RelayLink() = default;

RelayLink::~RelayLink()
{
    close();
}

void RelayLink::open(int portIndex)
{
    close();
    device_ = Registry::serialDevice(portIndex);
    if (device_.isEmpty())
        fail("Unable to open com port: ", ENODEV);
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(device_);
    errno = 0;
    if (!port->open(QIODevice::ReadWrite))
        fail("Unable to open com port: ", systemError());
    errno = 0;
    const bool settled = port->setBaudRate(QSerialPort::Baud9600) && port->setDataBits(QSerialPort::Data8) &&
                         port->setParity(QSerialPort::NoParity) && port->setStopBits(QSerialPort::TwoStop) &&
                         port->setFlowControl(QSerialPort::NoFlowControl);
    if (!settled) {
        const int error = systemError();
        port->close();
        fail("Unable to set com state: ", error);
    }
    // A pseudo-terminal or a plain adapter has no modem lines; their absence is no failure.
    port->setDataTerminalReady(false);
    port->setRequestToSend(false);
    port->clearError();
    // The modules never answer: a tiny receive buffer keeps stray line noise from piling up.
    port->setReadBufferSize(4);
    port_ = std::move(port);
}

void RelayLink::close()
{
    if (port_) {
        port_->close();
        port_.reset();
    }
}

bool RelayLink::isOpen() const
{
    return port_ && port_->isOpen();
}

qint64 RelayLink::write(const QByteArray& bytes)
{
    if (!isOpen())
        fail("Unable to write to port: ", EBADF);
    errno = 0;
    const qint64 written = port_->write(bytes);
    if (written != bytes.size())
        fail("Unable to write to port: ", systemError());
    // As the modules' driver did: 1000 ms per byte plus 1500 ms, and the write is complete only
    // when the bytes left the program.
    const int timeout = int(1000 * bytes.size() + 1500);
    while (port_->bytesToWrite() > 0) {
        errno = 0;
        if (!port_->waitForBytesWritten(timeout))
            fail("Unable to write to port: ",
                 port_->error() == QSerialPort::TimeoutError ? ETIMEDOUT : systemError());
    }
    return written;
}

void RelayLink::purgeOutput()
{
    if (!isOpen())
        fail("Unable to purge com: ", EBADF);
    errno = 0;
    if (!port_->clear(QSerialPort::Output))
        fail("Unable to purge com: ", systemError());
}

void RelayLink::purgeInput()
{
    if (!isOpen())
        fail("Unable to purge com: ", EBADF);
    errno = 0;
    if (!port_->clear(QSerialPort::Input))
        fail("Unable to purge com: ", systemError());
}
