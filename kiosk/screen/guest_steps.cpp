#include "kiosk/screen/guest_steps.h"

namespace hx {

CGuestSteps::CGuestSteps(MovieSink movie, StepReporter reportStep)
    : m_movie(std::move(movie)), m_reportStep(std::move(reportStep)) {}

void CGuestSteps::OnSelectRoom(const std::string& text) {
    StartIdleTimer();
    m_movie("StartProgress", "");
    m_reportStep(STEP_ROOM_CHOSEN, text);
}

void CGuestSteps::OnSelectCheckInType(std::optional<int> roomNumber, const std::string& text) {
    StartIdleTimer();
    m_restartable = true;
    m_movie("StartProgress", "");
    if (roomNumber) {
        m_roomNumber = *roomNumber;
    }
    m_reportStep(STEP_STAY_CHOSEN, text);
}

void CGuestSteps::OnTouch(enumTouchedButton button) {
    if (button == enumTouchedButton::Move) {
        StopIdleTimer();
        m_restartable = false;
        m_movie("StopProgress", "");
    }
    if (m_restartable) {
        StartIdleTimer();
        m_movie("StartProgress", "");
    }
    if (button == enumTouchedButton::Previous) {
        m_reportStep(STEP_PREVIOUS_BUTTON, "");
    } else if (button == enumTouchedButton::Home) {
        m_reportStep(STEP_HOME_BUTTON, "");
    }
}

// A touch during the payment must not send the guest home with their money
// in the machine.
void CGuestSteps::OnPaymentChosen(int roomNumber) {
    StopIdleTimer();
    m_restartable = false;
    m_roomNumber = roomNumber;
}

void CGuestSteps::OnHome() {
    StopIdleTimer();
    m_restartable = false;
    m_reportStep(STEP_HOME, std::to_string(m_roomNumber));
}

bool CGuestSteps::OnTimer(UINT_PTR id) {
    if (id != kIdleTimer) {
        return false;
    }
    StopIdleTimer();
    m_movie("GoHome", "");
    m_reportStep(STEP_IDLE_TIMEOUT, "");
    return true;
}

void CGuestSteps::StartIdleTimer() {
    if (m_window != nullptr) {
        m_window->SetTimer(kIdleTimer, kIdleMs);
    }
}

void CGuestSteps::StopIdleTimer() {
    if (m_window != nullptr) {
        m_window->KillTimer(kIdleTimer);
    }
}

}  // namespace hx
