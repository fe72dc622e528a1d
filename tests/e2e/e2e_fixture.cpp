#include "e2e_fixture.h"

#include <sys/stat.h>

namespace veltaro::e2e {
namespace {

constexpr int kDetectTimeoutMs = 6000;
// Bytes written by a handler reach the simulator's trace within a few milliseconds.
constexpr int kInFlightMs = 200;

}  // namespace

void EndToEndTest::SetUp() {
    ASSERT_FALSE(m_dir.path().empty());
    m_portDir = m_dir.File("ports");
    ASSERT_EQ(::mkdir(m_portDir.c_str(), 0700), 0);
    ASSERT_TRUE(qputenv("BRENLOW_PORT_DIR", QByteArray::fromStdString(m_portDir)));
    m_driver = std::make_unique<DialogDriver>();
    ASSERT_TRUE(m_driver->Shown());
}

void EndToEndTest::TearDown() {
    m_driver.reset();  // closes the port before the modems go
    m_sims.clear();
}

ModemSimProcess* EndToEndTest::StartSim(const SimSetup& setup) {
    const std::string stem = m_dir.File("sim" + std::to_string(m_sims.size() + 1));
    auto sim = std::make_unique<ModemSimProcess>(m_portDir, setup, stem);
    if (!sim->Started()) {
        ADD_FAILURE() << "the simulator (" << setup.model << " on COM" << setup.com
                      << ") did not start";
        return nullptr;
    }
    m_sims.push_back(std::move(sim));
    return m_sims.back().get();
}

testing::AssertionResult EndToEndTest::OpenAndDetect(int com, const QString& model) {
    Ui().Open(com);
    if (Ui().WaitUntil([&] { return Ui().Caption() == model; }, kDetectTimeoutMs)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "COM" << com << ": caption '" << Ui().Caption().toStdString() << "', expected '"
           << model.toStdString() << "'; log:\n"
           << Ui().LogText();
}

testing::AssertionResult EndToEndTest::WaitForLogLines(const QString& line, int count,
                                                       int timeoutMs) {
    if (Ui().WaitUntil([&] { return Ui().CountLogLines(line) >= count; }, timeoutMs)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << Ui().CountLogLines(line) << " log lines '" << line.toStdString() << "', expected "
           << count << "; log:\n"
           << Ui().LogText();
}

testing::AssertionResult EndToEndTest::ClickCommand(int buttonId) {
    if (!Ui().IsEnabled(buttonId)) {
        return testing::AssertionFailure() << "button " << buttonId << " is disabled";
    }
    Ui().Click(buttonId);
    return testing::AssertionSuccess();
}

std::vector<WireByte> EndToEndTest::Received(const ModemSimProcess& sim) {
    Ui().Pump(kInFlightMs);
    return ReadTrace(sim.ReceivedTrace());
}

std::vector<WireByte> EndToEndTest::Sent(const ModemSimProcess& sim) {
    return ReadTrace(sim.SentTrace());
}

std::vector<WireByte> EndToEndTest::ReadTrace(const std::string& path) {
    std::string error;
    std::vector<WireByte> bytes = ReadWireTrace(path, &error);
    EXPECT_EQ(error, "") << path;
    return bytes;
}

}  // namespace veltaro::e2e
