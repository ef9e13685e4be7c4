#pragma once

#include <QIODevice>

#include <ostream>

namespace guimisc {

/// A write-only, sequential `QIODevice` in front of a `std::ostream`, so that Qt's writers
/// (`QXmlStreamWriter`, `QTextStream`) can write through a stream of the standard library,
/// such as the one `common::io::SafeFileWriter` hands out. Every `write` goes to the stream
/// at once (no buffer of its own), so bytes that a caller writes to the device between two
/// calls of a Qt writer land in order. A write fails (returns -1, and the Qt writer reports
/// its error) once the stream has failed. The stream is borrowed and must outlive the
/// device; the device is open for writing from construction.
class OstreamDevice : public QIODevice {
    Q_OBJECT
public:
    explicit OstreamDevice(std::ostream& stream, QObject* parent = nullptr);
    ~OstreamDevice() override;

    bool isSequential() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::ostream& m_stream;
};

} // namespace guimisc
