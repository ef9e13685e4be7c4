#include "guimisc/OstreamDevice.h"

namespace guimisc {

OstreamDevice::OstreamDevice(std::ostream& stream, QObject* parent)
    : QIODevice(parent), m_stream(stream)
{
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

OstreamDevice::~OstreamDevice() = default;

bool OstreamDevice::isSequential() const
{
    return true;
}

qint64 OstreamDevice::readData(char*, qint64)
{
    return -1;
}

qint64 OstreamDevice::writeData(const char* data, qint64 size)
{
    if (!m_stream.write(data, static_cast<std::streamsize>(size))) {
        return -1;
    }
    return size;
}

} // namespace guimisc
