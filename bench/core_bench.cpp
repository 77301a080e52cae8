// Speed of the program's own work: reading typed numbers, "Sacar Dato", and
// a key click with its port write.
#include "core/keypad.h"
#include "core/leading_number.h"
#include "core/sacar_dato.h"
#include "port/demo_port.h"
#include "port/linux/linux_port.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr std::size_t MiB = 1 << 20;

std::string mixedText(std::size_t size) {
    // Blanks, digits and a period, then letters: read in full, then stopped.
    const std::string pattern = " 1 2\t3\n4 5 6 7 8 9 0";
    std::string text;
    while (text.size() < size / 2) {
        text += pattern;
    }
    text += ".";
    while (text.size() < size) {
        text += "5 ";
    }
    text += "abc";
    return text;
}

void LeadingNumberOn(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(pp::LeadingNumber(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_LeadingNumber_200(benchmark::State& state) {
    LeadingNumberOn(state, "200");
}
void BM_LeadingNumber_HexFF(benchmark::State& state) {
    LeadingNumberOn(state, "&HFF");
}
void BM_LeadingNumber_1MiB_Blanks(benchmark::State& state) {
    LeadingNumberOn(state, std::string(MiB, ' '));
}
void BM_LeadingNumber_1MiB_Digits(benchmark::State& state) {
    LeadingNumberOn(state, std::string(MiB, '7'));
}
void BM_LeadingNumber_1MiB_Mixed(benchmark::State& state) {
    LeadingNumberOn(state, mixedText(MiB));
}

// Growth with the length of the text: should be linear.
void BM_LeadingNumber_Digits(benchmark::State& state) {
    const std::string text(static_cast<std::size_t>(state.range(0)), '7');
    LeadingNumberOn(state, text);
    state.SetComplexityN(state.range(0));
}
void BM_LeadingNumber_Mixed(benchmark::State& state) {
    const std::string text = mixedText(static_cast<std::size_t>(state.range(0)));
    LeadingNumberOn(state, text);
    state.SetComplexityN(state.range(0));
}

class NullPort final : public pp::PortOutput {
public:
    void PortOut(pp::PortByte value) override { benchmark::DoNotOptimize(value); }
};

class TypedWindow final : public pp::WindowOperations {
public:
    explicit TypedWindow(std::string text) : text_(std::move(text)) {}
    std::string ReadText() override { return text_; }
    void SetText(std::string_view) override {}
    void ShowMessage(std::string_view) override {}

private:
    std::string text_;
};

void BM_SacarDato_200(benchmark::State& state) {
    NullPort port;
    TypedWindow window("200");
    for (auto _ : state) {
        benchmark::DoNotOptimize(pp::SacarDatoHandler(window, port));
    }
}

void BM_KeypadHandler_NullPort(benchmark::State& state) {
    NullPort port;
    std::size_t digit = 0;
    for (auto _ : state) {
        pp::KeypadHandler(digit, port);
        digit = (digit + 1) & 15;
    }
}

// A click's work in puerto-paralelo-demo: the handler and the printed line.
void BM_KeypadHandler_DemoPort(benchmark::State& state) {
    std::ofstream devNull("/dev/null");
    pp::StreamWriter text(devNull);
    pp::DemoPort port(text);
    std::size_t digit = 0;
    for (auto _ : state) {
        pp::KeypadHandler(digit, port);
        digit = (digit + 1) & 15;
    }
}

// A click's work in puerto-paralelo through ppdev, without the kernel's part:
// the handler and the lock, claim, write, release, unlock cycle.
class NoSystem final : public pp::SystemCalls {
public:
    int openDevice(const std::string&) override { return 3; }
    int closeDevice(int) override { return 0; }
    int lockExclusive(int, pp::Deadline) override { return 0; }
    int unlock(int) override { return 0; }
    int claim(int, pp::Deadline) override { return 0; }
    int writeData(int, pp::PortByte value) override {
        benchmark::DoNotOptimize(value);
        return 0;
    }
    int release(int) override { return 0; }
    int checkNode(int, const std::string&) override { return 0; }
    int checkAccess(const std::string&) override { return 0; }
    pp::NodeKind nodeKind(const std::string&) override { return pp::NodeKind::ParallelPort; }
    pp::GroupAccess groupAccess(const std::string&) override { return {"lp", true, true}; }
    bool hasRawIo() override { return false; }
    int grantPortAccess(std::uint16_t) override { return 0; }
    void outputByte(std::uint16_t, pp::PortByte value) override { benchmark::DoNotOptimize(value); }
};

void BM_KeypadHandler_DriverCycle(benchmark::State& state) {
    // A /proc tree in which parport0 sits at 888, so the port goes through
    // the driver; acquired before the measurement, as after the first click.
    const auto proc = std::filesystem::temp_directory_path() / "pp-bench-parport";
    std::filesystem::create_directories(proc / "parport0");
    std::ofstream(proc / "parport0" / "base-addr") << "888\t0\n";
    NoSystem system;
    pp::LinuxPort port(system, {proc, "/dev", "/nonexistent"});
    pp::KeypadHandler(0, port);
    std::filesystem::remove_all(proc);
    std::size_t digit = 0;
    for (auto _ : state) {
        pp::KeypadHandler(digit, port);
        digit = (digit + 1) & 15;
    }
}

// What bounding a wait for the port costs each byte: the real flock with its
// deadline (a thread-directed timer armed and deleted around it), on a file.
void BM_BoundedLock(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "pp-bench-lock";
    std::ofstream(path) << "";
    pp::LinuxSystemCalls system;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    for (auto _ : state) {
        const auto until = std::chrono::steady_clock::now() + pp::LinuxPort::Patience;
        benchmark::DoNotOptimize(system.lockExclusive(fd, until));
        system.unlock(fd);
    }
    ::close(fd);
    std::filesystem::remove(path);
}

} // namespace

BENCHMARK(BM_LeadingNumber_200);
BENCHMARK(BM_LeadingNumber_HexFF);
BENCHMARK(BM_LeadingNumber_1MiB_Blanks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeadingNumber_1MiB_Digits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeadingNumber_1MiB_Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeadingNumber_Digits)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 1 << 22)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LeadingNumber_Mixed)
    ->RangeMultiplier(4)
    ->Range(1 << 12, 1 << 22)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SacarDato_200);
BENCHMARK(BM_KeypadHandler_NullPort);
BENCHMARK(BM_KeypadHandler_DemoPort);
BENCHMARK(BM_KeypadHandler_DriverCycle);
BENCHMARK(BM_BoundedLock);

BENCHMARK_MAIN();
