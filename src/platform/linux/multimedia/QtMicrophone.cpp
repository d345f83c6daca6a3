#include "QtMicrophone.h"

#include <QAudioSource>
#include <QDebug>
#include <QMediaDevices>

namespace platform::linuxbackend {
namespace {

QString describe(QAudio::Error error)
{
    switch (error) {
    case QAudio::NoError:
        return QStringLiteral("no error");
    case QAudio::OpenError:
        return QStringLiteral("the input device cannot be opened");
    case QAudio::IOError:
        return QStringLiteral("the input device stopped delivering audio");
    case QAudio::UnderrunError:
        return QStringLiteral("the input device ran dry");
    case QAudio::FatalError:
        return QStringLiteral("the input device failed");
    }
    return QStringLiteral("error %1").arg(int(error));
}

} // namespace

QtMicrophone::QtMicrophone() = default;

QtMicrophone::~QtMicrophone()
{
    if (m_source) {
        m_source->disconnect();
        m_source->stop();
    }
}

int QtMicrophone::open()
{
    QByteArray ignored;
    close(ignored);
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        qWarning().noquote() << "[audio] there is no audio input device (or no sound server)";
        return int(QAudio::OpenError);
    }
    QAudioFormat format;
    format.setSampleRate(16000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_source = std::make_unique<QAudioSource>(device, format);
    return int(QAudio::NoError);
}

int QtMicrophone::start(DataFn data, FailFn failed)
{
    if (!m_source)
        return int(QAudio::OpenError);
    m_io = m_source->start();
    const QAudio::Error error = m_source->error();
    if (!m_io || error != QAudio::NoError) {
        qWarning().noquote() << "[audio] the input device does not start:" << describe(error);
        release();
        return int(error == QAudio::NoError ? QAudio::OpenError : error);
    }
    m_data = std::move(data);
    m_failed = std::move(failed);
    QObject::connect(m_io, &QIODevice::readyRead, m_source.get(), [this] {
        const QByteArray pcm = m_io->readAll();
        if (!pcm.isEmpty() && m_data)
            m_data(pcm);
    });
    QObject::connect(m_source.get(), &QAudioSource::stateChanged, m_source.get(), [this](QAudio::State state) {
        if (state != QAudio::StoppedState || m_source->error() == QAudio::NoError || !m_failed)
            return;
        // Once: the handler may well close us.
        const FailFn failed = std::exchange(m_failed, {});
        failed(describe(m_source->error()));
    });
    return int(QAudio::NoError);
}

int QtMicrophone::close(QByteArray &rest)
{
    if (!m_source)
        return int(QAudio::NoError);
    const int status = int(m_source->error());
    if (m_io)
        rest += m_io->readAll();
    release();
    return status;
}

void QtMicrophone::release()
{
    m_source->disconnect();
    if (m_io)
        m_io->disconnect();
    m_source->stop();
    m_io = nullptr;
    m_data = {};
    m_failed = {};
    // Close may be called from the source's own state signal.
    m_source.release()->deleteLater();
}

} // namespace platform::linuxbackend
