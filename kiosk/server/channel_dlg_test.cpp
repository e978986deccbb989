#include "kiosk/server/channel_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "channel/testing_channel.h"
#include "kiosk/records/config_records.h"
#include "kiosk/server/testing_server_events.h"
#include "kiosk/support/kiosk_settings_defaults.h"
#include "net/io_limits.h"
#include "platform/loop_test_support.h"

namespace hx {

namespace {

Bytes ConfigPacket(int32_t showAllRooms) {
    stKioskConfig config;
    config.showAllRooms = showAllRooms;
    return Pack(config);
}

class ChannelDlg : public CChannelTest {
protected:
    ChannelDlg()
        : m_dlg(m_server.Port(), [this](std::string_view line) { m_log.emplace_back(line); }) {
        m_dlg.SetMachine(&m_machine);
        m_machine.adapters = {TableAdapter("Realtek PCI Ethernet Adapter", kRealtekMac)};
        m_dlg.SetIntervalReconnect(60000);
    }

    // Creates the window, which connects to m_server.
    void CreateConnected() {
        m_tray.Create();
        m_dlg.SetTrayWindow(m_tray.GetSafeHwnd());
        auto peer = std::async(std::launch::async, [&] { return m_server.Handshake(7, 0x1001); });
        ASSERT_TRUE(m_dlg.Create());
        ASSERT_TRUE(peer.get().has_value());
        ASSERT_TRUE(FinishAttempt(m_dlg));
    }
    bool Logged(const std::string& text) const {
        return std::find(m_log.begin(), m_log.end(), text) != m_log.end();
    }
    int Parse(const Bytes& packet) {
        return m_dlg.ParsePacket(packet.data(), static_cast<int>(packet.size()));
    }
    std::string ServerSetting() const {
        return CEnvr(kRegistryApplication).GetString("TCP/IP", "Server", "");
    }

    CTableMachine m_machine;
    CRecordingWnd m_tray;
    CRecordingServerEvents m_events;
    std::vector<std::string> m_log;  // user interface thread only
    CChannelDlg m_dlg;
};

TEST_F(ChannelDlg, LinkComingAndGoingReachesTheLogTheTrayAndTheKioskWindow) {
    m_dlg.SetServerEvents(&m_events);
    CreateConnected();
    EXPECT_TRUE(Logged("서버와 연결됨."));
    EXPECT_EQ(m_events.Calls(), (std::vector<std::string>{"connected"}));
    EXPECT_EQ(ServerSetting(), "127.0.0.1");
    EXPECT_EQ(m_tray.WParamsOf(CChannelDlg::kChannelStateMessage),
              (std::vector<WPARAM>{0, 1, 2, 2}));
    EXPECT_EQ(GetLastChannelState(), CHANNEL_CONNECTED);

    // The channel's timers and data message come back through the window.
    m_dlg.SendMessage(WM_TIMER, kPingTimerId);
    const std::optional<Bytes> ping = m_server.Receive();
    ASSERT_TRUE(ping.has_value());
    EXPECT_EQ(Field32(*ping, HDR_COMMAND), CMD_PING);
    EXPECT_EQ(m_dlg.SendMessage(kChannelDataMessage), 1);

    m_server.Drop();
    ASSERT_TRUE(PumpUntil([&] { return m_events.Calls().size() == 2; }));
    EXPECT_EQ(m_events.Calls().back(), "lost");
    EXPECT_TRUE(Logged("서버와 연결 끊어짐."));
    EXPECT_EQ(GetLastChannelState(), CHANNEL_CLOSED);

    auto peer = std::async(std::launch::async, [&] { return m_server.Handshake(7, 0x1001); });
    CLoopClock::Advance(60000);  // timer 99
    PumpMessagesFor(0);
    ASSERT_TRUE(peer.get().has_value());
    ASSERT_TRUE(FinishAttempt(m_dlg));
    EXPECT_EQ(m_events.Calls().back(), "connected");
}

TEST_F(ChannelDlg, ALostLinkIsLoggedWithItsReasonOnTheNextLine) {
    m_dlg.SetServerEvents(&m_events);
    CreateConnected();
    const struct {
        const char* what;
        std::function<void()> breakLink;
        int result;
    } cases[] = {
        {"closed by the server", [&] { m_server.Drop(); }, IO_CLOSED},
        {"a message longer than any taken",
         [&] { m_server.Send(Bytes(static_cast<size_t>(GetMaxMessageBytes()) + 1)); },
         IO_BAD_LENGTH},
    };
    for (const auto& [what, breakLink, result] : cases) {
        SCOPED_TRACE(what);
        m_log.clear();
        breakLink();
        ASSERT_TRUE(PumpUntil([&] { return Logged("서버와 연결 끊어짐."); }));
        const auto lost = std::find(m_log.begin(), m_log.end(), "서버와 연결 끊어짐.");
        ASSERT_NE(lost + 1, m_log.end());
        EXPECT_TRUE(lost[1].starts_with("연결 끊긴 이유: ")) << lost[1];
        EXPECT_TRUE(lost[1].ends_with(" (" + std::to_string(result) + ")")) << lost[1];

        auto peer = std::async(std::launch::async, [&] { return m_server.Handshake(7, 0x1001); });
        CLoopClock::Advance(60000);  // timer 99
        PumpMessagesFor(0);
        ASSERT_TRUE(peer.get().has_value());
        ASSERT_TRUE(FinishAttempt(m_dlg));
    }
}

TEST_F(ChannelDlg, ConnectBeforeTheKioskWindowExistsIsOnlyLogged) {
    CreateConnected();
    EXPECT_TRUE(Logged("서버와 연결됨."));
    EXPECT_NE(ServerSetting(), "127.0.0.1");
    m_dlg.SetServerEvents(&m_events);
    EXPECT_TRUE(m_events.Calls().empty());
}

TEST_F(ChannelDlg, MessagesBeforeTheKioskWindowAreHeldUpToALimitAndHandedOverInOrder) {
    EXPECT_EQ(Parse(ConfigPacket(1)), 1);
    for (size_t i = 1; i <= CChannelDlg::kMaxHeldMessages; ++i) {
        Parse(ConfigPacket(0));
    }
    EXPECT_EQ(m_log.size(), 1u) << "the one past the limit";
    m_dlg.SetServerEvents(&m_events);
    const std::vector<std::string> calls = m_events.Calls();
    ASSERT_EQ(calls.size(), CChannelDlg::kMaxHeldMessages);
    EXPECT_EQ(calls.front(), "config show=1");
    Parse(ConfigPacket(1));
    EXPECT_EQ(m_events.Calls().size(), CChannelDlg::kMaxHeldMessages + 1) << "handed over once";
}

TEST_F(ChannelDlg, PacketsReceivedOnAnotherThreadAreHandledOnTheWindowThreadInOrder) {
    m_dlg.SetServerEvents(&m_events);
    CreateConnected();
    const auto parseElsewhere = [&](const Bytes& packet) {
        std::thread([&] { EXPECT_EQ(Parse(packet), 1); }).join();
    };
    parseElsewhere(ConfigPacket(1));
    EXPECT_EQ(m_events.Calls().size(), 1u) << "not on the waiting thread";
    PumpMessagesFor(0);
    EXPECT_EQ(m_events.Calls().back(), "config show=1");
    EXPECT_EQ(m_events.Threads().back(), std::this_thread::get_id());

    // One handled here before the posted one came round does not overtake it.
    parseElsewhere(ConfigPacket(0));
    Parse(ConfigPacket(1));
    PumpMessagesFor(0);
    EXPECT_EQ(m_events.Calls(), (std::vector<std::string>{"connected", "config show=1",
                                                          "config show=0", "config show=1"}));
}

}  // namespace

}  // namespace hx
