#pragma once
// The first steps of a guest's visit on the screen, before paying: a room
// chosen, a stay type chosen, touches, and the way home. Each step is
// reported to the server. The idle timer (30 s) sends the screen home when
// the guest walks away; once a stay type was chosen a touch gives the guest
// another 30 s, until a "MoveBtn" touch (the screen moving on by itself)
// stops the timer and takes that back. Everything here runs on the user
// interface thread.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "kiosk/screen/movie_commands.h"
#include "kiosk/support/guest_step.h"
#include "platform/wnd.h"

namespace hx {

class CGuestSteps {
public:
    using MovieSink = std::function<void(std::string_view command, std::string_view args)>;
    using StepReporter = std::function<void(int code, std::string_view text)>;

    static constexpr UINT_PTR kIdleTimer = 7;
    static constexpr UINT kIdleMs = 30000;

    CGuestSteps(MovieSink movie, StepReporter reportStep);

    // The window whose timer 7 is the idle timer (WM_TIMER comes to OnTimer).
    void Attach(CWnd& window) { m_window = &window; }

    void OnSelectRoom(const std::string& text);
    void OnSelectCheckInType(std::optional<int> roomNumber, const std::string& text);
    void OnTouch(enumTouchedButton button);
    // Payment chosen: the idle timer stops (the payment has time limits of
    // its own) and the room is the sale's.
    void OnPaymentChosen(int roomNumber);
    // The screen is home: the timer and its mark go, step 16 with the room.
    void OnHome();
    // True for the idle timer, which sends the screen home.
    bool OnTimer(UINT_PTR id);

    // The room of the stay type chosen last; 0 before any.
    int RoomNumber() const { return m_roomNumber; }
    bool IsIdleTimerRestartable() const { return m_restartable; }

private:
    void StartIdleTimer();
    void StopIdleTimer();

    const MovieSink m_movie;
    const StepReporter m_reportStep;
    CWnd* m_window = nullptr;
    bool m_restartable = false;
    int m_roomNumber = 0;
};

}  // namespace hx
