// Transport speed against references measured in the same run:
//   CRC-32 over 256 MiB against the system's cksum (same polynomial) on the
//   same bytes from a temporary file, run as a child process;
//   send plus receive of room list pages with the default framing over a
//   loopback connection against a plain socket copy of the same bytes.
// The last lines are "ratio <what> R", above 1 meaning ours is faster.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "net/crc32.h"
#include "net/io_packet.h"
#include "net/packet_header.h"

extern char** environ;

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

void BM_FramingRoomPages(benchmark::State& state) {
    const std::vector<uint8_t> page = RoomListPage();
    stFramedPair pair;
    if (!pair.server) {
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
BENCHMARK(BM_FramingRoomPages)->UseRealTime()->MinTime(1.0);

// Both ends of one loopback TCP connection, as bare descriptors.
struct stPlainPair {
    int client = -1;
    int server = -1;

    stPlainPair() {
        int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener, 1);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        client = socket(AF_INET, SOCK_STREAM, 0);
        int on = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
        server = accept(listener, nullptr, nullptr);
        close(listener);
    }

    ~stPlainPair() {
        close(client);
        close(server);
    }
};

void BM_PlainCopyRoomPages(benchmark::State& state) {
    const std::vector<uint8_t> page = RoomListPage();
    std::vector<uint8_t> received(page.size());
    stPlainPair pair;
    for (auto _ : state) {
        bool ok = send(pair.client, page.data(), page.size(), MSG_NOSIGNAL) ==
                  static_cast<ssize_t>(page.size());
        for (size_t got = 0; ok && got < received.size();) {
            ssize_t n = recv(pair.server, received.data() + got, received.size() - got, 0);
            ok = n > 0;
            got += ok ? static_cast<size_t>(n) : 0;
        }
        if (!ok) {
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

// Runs "cksum FILE", returns its wall time in seconds and its output line.
double TimeCksum(const std::filesystem::path& file, std::string& output) {
    int out[2];
    if (pipe(out) != 0) {
        return 0;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string path = file.string();
    char* argv[] = {const_cast<char*>("cksum"), path.data(), nullptr};
    auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int spawned = posix_spawnp(&child, "cksum", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    output.clear();
    char chunk[256];
    for (ssize_t n; spawned == 0 && (n = read(out[0], chunk, sizeof chunk)) > 0;) {
        output.append(chunk, static_cast<size_t>(n));
    }
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || status != 0) {
        return 0;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The value cksum prints: our CRC continued over the length, inverted.
uint32_t ExpectedCksum(const std::vector<uint8_t>& data) {
    uint32_t crc = Crc32(data.data(), data.size());
    for (size_t n = data.size(); n != 0; n >>= 8) {
        uint8_t b = static_cast<uint8_t>(n);
        crc = Crc32(&b, 1, crc);
    }
    return ~crc;
}

// Best of a few warm runs, in bytes per second; 0 when cksum is unusable.
double CksumBytesPerSecond() {
    const auto& data = CrcData();
    auto file =
        std::filesystem::temp_directory_path() / ("hxnet_bench_" + std::to_string(getpid()));
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    double best = 0;
    std::string output;
    for (int run = 0; run < 5; ++run) {
        double seconds = TimeCksum(file, output);
        if (seconds > 0 && (best == 0 || seconds < best)) {
            best = seconds;
        }
    }
    std::filesystem::remove(file);
    if (best == 0 || std::stoul(output) != ExpectedCksum(data)) {
        std::printf("cksum unavailable or disagreeing: %s\n", output.c_str());
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
    benchmark::Initialize(&argc, argv);
    CThroughputReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double crc = reporter.BytesPerSecond("BM_Crc32");
    double cksum = crc > 0 ? CksumBytesPerSecond() : 0;  // skipped when filtered out
    std::printf("ratio crc32/cksum %.2f\n", Ratio(crc, cksum));
    std::printf("ratio framing/copy %.2f\n",
                Ratio(reporter.BytesPerSecond("BM_FramingRoomPages"),
                      reporter.BytesPerSecond("BM_PlainCopyRoomPages")));
    benchmark::Shutdown();
    return 0;
}
