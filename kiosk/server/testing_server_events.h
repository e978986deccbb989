#pragma once
// For tests only: a kiosk-window side that writes down every call as a short
// line ("config show=1", "picture 3") with the thread it came on, and takes
// its picture targets from a table.

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "kiosk/server/server_events.h"

namespace hx {

class CRecordingServerEvents : public CServerEvents {
public:
    std::filesystem::path roomImagesTarget;
    std::map<int, std::filesystem::path> pictureTargets;

    void OnServerConnected() override { Record("connected"); }
    void OnServerLost() override { Record("lost"); }
    void OnRoomPage(const stRoomPage& page) override { Record("rooms", page.rooms.size()); }
    void OnClassPage(const stClassPage& page) override { Record("classes", page.classes.size()); }
    void OnSingleRoom(const stRoom4Kiosk& room) override { Record("room", room.roomNo); }
    std::filesystem::path RoomImagesTarget() override { return roomImagesTarget; }
    std::optional<std::filesystem::path> PictureTarget(int index) override {
        const auto found = pictureTargets.find(index);
        return found == pictureTargets.end() ? std::nullopt : std::optional(found->second);
    }
    void OnRoomImagesReceived() override { Record("room images"); }
    void OnPictureReceived(int index) override { Record("picture", index); }
    void OnClearLoading() override { Record("clear loading"); }
    void OnKioskConfig(const stKioskConfig& config) override {
        Record("config show=" + std::to_string(config.showAllRooms));
    }
    void OnKioskOptions(const stKioskOptions& options) override {
        Record("options", options.paymentTypes);
    }
    void OnSaleAnswer(const stSaleAnswer& answer) override { Record("sale", answer.result); }
    void OnStartupReady() override { Record("ready"); }

    std::vector<std::string> Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard lock(m_mutex);
        return m_threads;
    }

private:
    void Record(const std::string& name, int64_t value) {
        Record(name + " " + std::to_string(value));
    }
    void Record(std::string call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        m_threads.push_back(std::this_thread::get_id());
    }

    std::mutex m_mutex;
    std::vector<std::string> m_calls;
    std::vector<std::thread::id> m_threads;
};

}  // namespace hx
