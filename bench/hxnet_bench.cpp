// Transport speed against references measured in the same run:
//   CRC-32 over 256 MiB against the system's cksum (same polynomial) on the
//   same bytes from a temporary file, run as a child process;
//   send plus receive of room list pages with the default framing, and with
//   zlib coding, over a loopback connection against a plain socket copy of the
//   same bytes.
// The last lines are "ratio <what> R", above 1 meaning ours is faster.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/crc32.h"
#include "net/io_packet.h"
#include "net/packet_header.h"
#include "net/testing_cksum.h"
#include "tests/support/file_text.h"
#include "platform/tcp_stream.h"
#include "tests/support/temp_drive.h"
#include "tests/support/temp_folder.h"

namespace hx {

namespace {

constexpr size_t kCrcBytes = size_t{256} << 20;

const std::vector<uint8_t>& CrcData() {
    static const std::vector<uint8_t> data = [] {
        std::vector<uint8_t> bytes(kCrcBytes);
        uint64_t x = 0x9E3779B97F4A7C15ull;
        for (size_t i = 0; i < bytes.size(); i += 8) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            for (size_t k = 0; k < 8; ++k) {
                bytes[i + k] = static_cast<uint8_t>(x >> (8 * k));
            }
        }
        return bytes;
    }();
    return data;
}

void BM_Crc32(benchmark::State& state) {
    const auto& data = CrcData();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Crc32(data.data(), data.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
    state.SetLabel(Crc32UsesClmul() ? "carry-less multiply" : "sliced tables");
}
BENCHMARK(BM_Crc32)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

void BM_Crc32Sliced(benchmark::State& state) {
    const auto& data = CrcData();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Crc32Sliced(data.data(), data.size()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * data.size()));
    state.SetLabel("portable fallback");
}
BENCHMARK(BM_Crc32Sliced)->Unit(benchmark::kMillisecond)->UseRealTime();

// A page of the room list as the server sends it: a packet header and 30 room
// records of 116 bytes (number and class name texts, prices, state words and
// times, zero-padded fields).
std::vector<uint8_t> RoomListPage() {
    constexpr size_t kRooms = 30;
    constexpr size_t kRoomSize = 116;
    std::vector<uint8_t> page(kPacketHeaderSize + kRooms * kRoomSize);
    InitPacketHeader(page, static_cast<enumCommand>(511));
    for (size_t room = 0; room < kRooms; ++room) {
        uint8_t* record = page.data() + kPacketHeaderSize + room * kRoomSize;
        std::snprintf(reinterpret_cast<char*>(record), 16, "%zu", 201 + room);
        const uint8_t className[] = {0xC6, 0xAF, 0xBD, 0xC7, 0x20, 0xB7, 0xEB};  // CP949 text
        std::memcpy(record + 16, className, sizeof className);
        const uint32_t words[] = {30000, 50000, static_cast<uint32_t>(room % 4),
                                  1,     0,     static_cast<uint32_t>(room * 7 % 3)};
        for (size_t i = 0; i < std::size(words); ++i) {
            std::memcpy(record + 48 + 4 * i, &words[i], 4);
        }
        const int64_t checkout = 1718000000 + static_cast<int64_t>(room) * 3600;
        std::memcpy(record + 80, &checkout, sizeof checkout);
    }
    return page;
}

// Both ends of one loopback TCP connection, as socket objects.
struct stFramedPair {
    CIOPacket listener{"127.0.0.1", 0};
    std::unique_ptr<CIOPacket> client;
    std::unique_ptr<CIOPacket> server;

    stFramedPair() {
        listener.Listen("127.0.0.1");
        client = std::make_unique<CIOPacket>("127.0.0.1",
                                             static_cast<uint16_t>(listener.GetLocalPort()));
        client->AddExtOption(IOEXT_NOPING);
        client->Connect(1);
        server = listener.Accept();
    }
};

void FrameRoomPages(benchmark::State& state, uint32_t options) {
    const std::vector<uint8_t> page = RoomListPage();
    stFramedPair pair;
    if (!pair.server || !pair.client->SetOption(options) || !pair.server->SetOption(options)) {
        state.SkipWithError("no loopback connection");
        return;
    }
    for (auto _ : state) {
        uint8_t* received = nullptr;
        int length = 0;
        if (pair.client->Send(page.data(), static_cast<int>(page.size())) != IO_OK ||
            pair.server->Receive(&received, &length) != IO_OK) {
            state.SkipWithError("framing failed");
            break;
        }
        FreeReceiveBuffer(received);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_FramingRoomPages(benchmark::State& state) {
    FrameRoomPages(state, IOOPT_DEFAULT);
}
BENCHMARK(BM_FramingRoomPages)->UseRealTime()->MinTime(1.0);

// The same with zlib coding in place of run-length coding.
void BM_FramingRoomPagesZlib(benchmark::State& state) {
    FrameRoomPages(state, IOOPT_DEFAULT | IOOPT_ZLIB);
}
BENCHMARK(BM_FramingRoomPagesZlib)->UseRealTime()->MinTime(1.0);

void BM_PlainCopyRoomPages(benchmark::State& state) {
    const std::vector<uint8_t> page = RoomListPage();
    std::vector<uint8_t> received(page.size());
    CTcpStream client;
    CTcpStream server;
    if (!CTcpStream::ConnectPair(client, server)) {
        state.SkipWithError("no loopback connection");
        return;
    }
    for (auto _ : state) {
        if (!client.SendAll(page) || !server.ReceiveExactly(received)) {
            state.SkipWithError("plain copy failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_PlainCopyRoomPages)->UseRealTime()->MinTime(1.0);

// Remembers the throughput of every benchmark while printing as usual. Rates
// are taken over wall time, as the child process's is.
class CThroughputReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.real_accumulated_time > 0) {
                auto bytes = run.counters.find("bytes_per_second");
                if (bytes != run.counters.end()) {
                    m_bytesPerSecond[run.run_name.function_name] = bytes->second.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double BytesPerSecond(const std::string& name) const {
        auto found = m_bytesPerSecond.find(name);
        return found == m_bytesPerSecond.end() ? 0 : found->second;
    }

private:
    std::map<std::string, double> m_bytesPerSecond;
};

// Best of a few warm runs, in bytes per second; 0 when cksum is unusable.
double CksumBytesPerSecond() {
    const auto& data = CrcData();
    const CTempFolder folder("hxnet_bench");
    const std::filesystem::path file = folder.Path() / "crc-data";
    const bool written = WriteWholeFile(file, data);
    double best = 0;
    std::optional<uint32_t> printed;
    for (int run = 0; run < 5 && written; ++run) {
        const auto start = std::chrono::steady_clock::now();
        printed = RunSystemCksum(file);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (printed && (best == 0 || seconds < best)) {
            best = seconds;
        }
    }
    if (best == 0 || printed != CksumOf(data)) {
        std::printf("cksum unavailable or disagreeing: %u\n", printed.value_or(0));
        return 0;
    }
    std::printf("cksum: %.0f MB/s (best of 5, wall time of the child)\n", data.size() / best / 1e6);
    return data.size() / best;
}

double Ratio(double ours, double reference) {
    return reference > 0 ? ours / reference : 0;
}

}  // namespace

}  // namespace hx

int main(int argc, char** argv) {
    using namespace hx;
    // The accepted end traces every call into the drive's log folder: a
    // temporary one, never the machine's.
    const CTempDrive drive;
    benchmark::Initialize(&argc, argv);
    CThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double crc = reporter.BytesPerSecond("BM_Crc32");
    double cksum = crc > 0 ? CksumBytesPerSecond() : 0;  // skipped when filtered out
    std::printf("ratio crc32/cksum %.2f\n", Ratio(crc, cksum));
    const double copy = reporter.BytesPerSecond("BM_PlainCopyRoomPages");
    std::printf("ratio zlib framing/copy %.2f\n",
                Ratio(reporter.BytesPerSecond("BM_FramingRoomPagesZlib"), copy));
    std::printf("ratio framing/copy %.2f\n",
                Ratio(reporter.BytesPerSecond("BM_FramingRoomPages"), copy));
    benchmark::Shutdown();
    return 0;
}
