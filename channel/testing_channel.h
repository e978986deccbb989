#pragma once
// For tests only: a channel that is its own owner window, as the kiosk's
// channel window is, and records what reaches it; a machine described by a
// table; a message box that records; and a fixture that runs each test on the
// manual clock with a fresh drive folder and a server on loopback.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "channel/net_channel.h"
#include "channel/net_channel_message_box.h"
#include "channel/testing_framework_key.h"
#include "channel/testing_server.h"
#include "platform/drive.h"
#include "platform/envr.h"
#include "platform/loop_clock.h"
#include "platform/loop_test_support.h"
#include "platform/message_loop.h"
#include "tests/support/temp_drive.h"

namespace hx {

class CTableMachine : public CChannelMachine, public CNetworkAdapterSource {
public:
    std::string computerName = "KIOSK-PC";
    std::vector<stNetworkAdapter> adapters;

    std::string GetComputerName() const override { return computerName; }
    const CNetworkAdapterSource& GetAdapters() const override { return *this; }
    std::vector<stNetworkAdapter> ListAdapters() const override { return adapters; }
};

inline stNetworkAdapter TableAdapter(const std::string& description, std::array<uint8_t, 6> mac,
                                     const std::string& ip = "") {
    stNetworkAdapter adapter;
    adapter.name = "eth" + std::to_string(mac[5]);
    adapter.description = description;
    adapter.mac = mac;
    adapter.ipAddress = ip;
    adapter.ipMask = ip.empty() ? "" : "255.255.255.0";
    return adapter;
}

inline const std::array<uint8_t, 6> kRealtekMac = {0x00, 0xE0, 0x4C, 0x68, 0x01, 0x01};
inline const std::array<uint8_t, 6> kIntelMac = {0x8C, 0x16, 0x45, 0x0A, 0xBC, 0x02};
inline const std::array<uint8_t, 6> kVmwareMac = {0x00, 0x50, 0x56, 0xC0, 0x00, 0x08};

// The owner window and the channel in one object, window part first.
class CTestChannel : public CWnd, public CNetChannel {
public:
    CTableMachine machine;

    explicit CTestChannel(uint16_t basePort) : CNetChannel(nullptr, basePort) {
        Create();
        SetOwner(this);
        SetMachine(&machine);
        machine.adapters = {
            TableAdapter("Realtek PCI Ethernet Adapter (r8169)", kRealtekMac, "192.168.0.10")};
    }
    ~CTestChannel() override {
        DetachClients();
        StopThread();
        DestroyWindow();
    }

    using CNetChannel::CheckConnect;
    using CNetChannel::ClosePacket;
    using CNetChannel::DispatchReceived;
    using CNetChannel::TcpNotify;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER) {
            std::lock_guard lock(m_mutex);
            m_timers.push_back(wParam);
        }
        if (HandleOwnerMessage(message, wParam, lParam)) {
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

    int ParsePacket(const uint8_t* data, int length) override {
        std::lock_guard lock(m_mutex);
        m_parsed.emplace_back(data, data + length);
        return 1;
    }
    void NotifyChannelState(enumChannelState state, int detail) override {
        EXPECT_EQ(detail, 1);
        std::lock_guard lock(m_mutex);
        m_states.push_back(state);
    }

    std::vector<Bytes> Parsed() {
        std::lock_guard lock(m_mutex);
        return m_parsed;
    }
    std::vector<uint32_t> ParsedCommands() {
        std::vector<uint32_t> commands;
        for (const Bytes& packet : Parsed()) {
            commands.push_back(Field32(packet, HDR_COMMAND));
        }
        return commands;
    }
    std::vector<int> States() {
        std::lock_guard lock(m_mutex);
        return m_states;
    }
    std::vector<WPARAM> Timers() {
        std::lock_guard lock(m_mutex);
        return m_timers;
    }
    void ForgetRecords() {
        std::lock_guard lock(m_mutex);
        m_parsed.clear();
        m_states.clear();
        m_timers.clear();
    }

private:
    std::mutex m_mutex;
    std::vector<Bytes> m_parsed;
    std::vector<int> m_states;
    std::vector<WPARAM> m_timers;
};

class CRecordingMessageBox : public CChannelMessageBox {
public:
    struct stBox {
        std::string caption;
        std::string text;
    };
    void Show(const std::string& caption, const std::string& text) override {
        std::lock_guard lock(m_mutex);
        m_boxes.push_back({caption, text});
    }
    std::vector<stBox> Boxes() {
        std::lock_guard lock(m_mutex);
        return m_boxes;
    }

private:
    std::mutex m_mutex;
    std::vector<stBox> m_boxes;
};

// Handles messages until the channel's connect attempt has ended and its
// outcome has been taken: adopted, or the reconnect timer armed.
inline bool FinishAttempt(const CNetChannel& channel) {
    return PumpUntil([&] { return !channel.IsConnecting(); });
}

// Moves the manual clock far ahead after limitMs of real time unless dismissed
// first, so a wait that misses its answer ends by its time-out instead of hanging.
class CClockWatchdog {
public:
    explicit CClockWatchdog(int limitMs = kServerWaitMs)
        : m_thread([this, limitMs] {
              std::unique_lock lock(m_mutex);
              if (!m_wake.wait_for(lock, std::chrono::milliseconds(limitMs),
                                   [this] { return m_dismissed; })) {
                  CLoopClock::Advance(24 * 3600 * 1000);
              }
          }) {}
    ~CClockWatchdog() {
        {
            std::lock_guard lock(m_mutex);
            m_dismissed = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_dismissed = false;
    std::thread m_thread;
};

class CChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        CEnvr::SetFrameworkKey(kTestRegistryCompany, kTestRegistryApplication);
        std::filesystem::create_directories(GetWindowsFolder());
        CLoopClock::UseManualClock();
        DiscardWaitingMessages();
        SetChannelMessageBox(&m_boxes);
    }
    void TearDown() override {
        SetChannelMessageBox(nullptr);
        DiscardWaitingMessages();
        CLoopClock::UseRealClock();
        CEnvr::SetFrameworkKey("", "");
    }

    // Starts the channel as a kiosk against m_server; the server side of the
    // handshake runs meanwhile on a thread of its own.
    CTestingServer::stHandshake Connect(CTestChannel& channel, uint32_t uniqueNo = 7,
                                        uint32_t clientKey = 0x1001) {
        auto peer =
            std::async(std::launch::async, [&] { return m_server.Handshake(uniqueNo, clientKey); });
        channel.Start(0);
        std::optional<CTestingServer::stHandshake> handshake = peer.get();
        EXPECT_TRUE(handshake.has_value());
        EXPECT_TRUE(FinishAttempt(channel));
        EXPECT_EQ(channel.IsAlive(), 1);
        return handshake.value_or(CTestingServer::stHandshake{});
    }

    CTempDrive m_drive;
    CRecordingMessageBox m_boxes;
    CTestingServer m_server;
};

}  // namespace hx
