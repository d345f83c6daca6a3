#include "FakeHidapi.h"

#include <chrono>
#include <cstring>

struct FakeHidapi::State {
    mutable std::mutex mutex;
    std::condition_variable changed;
    int initResult = 0;
    std::vector<platform::HidapiDeviceInfo> devices;
    int openFailures = 0;
    std::deque<std::optional<QByteArray>> reports;
    std::optional<QByteArray> idle;
    bool writeFails = false;
    bool block = false;
    int blockedReads = 0;
    int inits = 0, exits = 0, opens = 0;
    std::vector<int> readLengths;
    std::vector<QByteArray> writes;
    QStringList events;
    bool open = false;
};

namespace {

class FakeHidapiDevice final : public platform::HidapiDevice {
public:
    explicit FakeHidapiDevice(std::shared_ptr<FakeHidapi::State> state) : m_state(std::move(state)) {}
    ~FakeHidapiDevice() override
    {
        std::lock_guard lock(m_state->mutex);
        m_state->open = false;
        m_state->events << "close";
    }

    int setNonblocking(bool) override { return 0; }

    int getFeatureReport(unsigned char *data, std::size_t length) override
    {
        std::unique_lock lock(m_state->mutex);
        m_state->events << "read";
        m_state->readLengths.push_back(int(length));
        if (m_state->block) {
            ++m_state->blockedReads;
            m_state->changed.notify_all();
            m_state->changed.wait(lock, [this] { return !m_state->block; });
            --m_state->blockedReads;
        }
        std::optional<QByteArray> answer = m_state->idle;
        if (!m_state->reports.empty()) {
            answer = m_state->reports.front();
            m_state->reports.pop_front();
        }
        m_state->events << "read-done";
        if (!answer)
            return -1;
        const std::size_t n = std::min<std::size_t>(length, std::size_t(answer->size()));
        std::memcpy(data, answer->constData(), n);
        return int(n);
    }

    int write(const unsigned char *data, std::size_t length) override
    {
        std::lock_guard lock(m_state->mutex);
        m_state->events << "write";
        if (m_state->writeFails)
            return -1;
        m_state->writes.emplace_back(reinterpret_cast<const char *>(data), qsizetype(length));
        return int(length);
    }

    QString error() override { return QStringLiteral("simulated write failure"); }

private:
    std::shared_ptr<FakeHidapi::State> m_state;
};

} // namespace

FakeHidapi::FakeHidapi() : m_state(std::make_shared<State>()) {}
FakeHidapi::~FakeHidapi() = default;

#define LOCKED std::lock_guard lock(m_state->mutex)

// clang-format off
void FakeHidapi::setInitResult(int result) { LOCKED; m_state->initResult = result; }
void FakeHidapi::setDevices(std::vector<platform::HidapiDeviceInfo> devices) { LOCKED; m_state->devices = std::move(devices); }
void FakeHidapi::setOpenFailures(int count) { LOCKED; m_state->openFailures = count; }
void FakeHidapi::queueFeatureReport(std::optional<QByteArray> report) { LOCKED; m_state->reports.push_back(std::move(report)); }
void FakeHidapi::setIdleReport(std::optional<QByteArray> report) { LOCKED; m_state->idle = std::move(report); }
void FakeHidapi::setWriteFails(bool fails) { LOCKED; m_state->writeFails = fails; }
// clang-format on

void FakeHidapi::blockReads(bool block)
{
    {
        LOCKED;
        m_state->block = block;
    }
    m_state->changed.notify_all();
}

bool FakeHidapi::waitForBlockedRead(int timeoutMs)
{
    std::unique_lock lock(m_state->mutex);
    return m_state->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [this] { return m_state->blockedReads > 0; });
}

// clang-format off
int FakeHidapi::initCount() const { LOCKED; return m_state->inits; }
int FakeHidapi::exitCount() const { LOCKED; return m_state->exits; }
int FakeHidapi::openCount() const { LOCKED; return m_state->opens; }
int FakeHidapi::readCount() const { LOCKED; return int(m_state->readLengths.size()); }
std::vector<int> FakeHidapi::readLengths() const { LOCKED; return m_state->readLengths; }
std::vector<QByteArray> FakeHidapi::writes() const { LOCKED; return m_state->writes; }
void FakeHidapi::clearWrites() { LOCKED; m_state->writes.clear(); }
QStringList FakeHidapi::events() const { LOCKED; return m_state->events; }
bool FakeHidapi::deviceOpen() const { LOCKED; return m_state->open; }
// clang-format on

int FakeHidapi::init()
{
    LOCKED;
    ++m_state->inits;
    m_state->events << "init";
    return m_state->initResult;
}

int FakeHidapi::exit()
{
    LOCKED;
    ++m_state->exits;
    m_state->events << "exit";
    return 0;
}

std::vector<platform::HidapiDeviceInfo> FakeHidapi::enumerate(quint16, quint16)
{
    LOCKED;
    return m_state->devices;
}

std::unique_ptr<platform::HidapiDevice> FakeHidapi::openPath(const QByteArray &path)
{
    LOCKED;
    ++m_state->opens;
    m_state->events << "open " + QString::fromLatin1(path);
    if (m_state->openFailures != 0) {
        if (m_state->openFailures > 0)
            --m_state->openFailures;
        return nullptr;
    }
    m_state->open = true;
    return std::make_unique<FakeHidapiDevice>(m_state);
}

QString FakeHidapi::lastError()
{
    return QStringLiteral("simulated library failure");
}

#undef LOCKED

platform::HidapiDeviceInfo hidapiInterface(quint16 vid, quint16 pid, quint16 usagePage, quint16 usage,
                                           const QByteArray &path, const QString &serial)
{
    platform::HidapiDeviceInfo info;
    info.path = path;
    info.vendorId = vid;
    info.productId = pid;
    info.usagePage = usagePage;
    info.usage = usage;
    info.serialNumber = serial;
    return info;
}
