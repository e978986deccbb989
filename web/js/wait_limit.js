// Waits for the kiosk never show a spinner without end: past a first limit
// the screen says that it takes longer than it should and what to do; past
// a second one the guest is offered a way out.

export class CWaitLimit {
  // element: the notice; its title and text are filled when the limit passes.
  constructor(element) {
    this.m_element = element;
    this.m_title = element.querySelector('[data-testid="wait-late-title"]');
    this.m_text = element.querySelector('[data-testid="wait-late-text"]');
    this.m_timers = [];
  }

  // After lateMs the notice shows title and text; after giveUpMs onGiveUp runs.
  start({ lateMs, giveUpMs, title, text, onGiveUp }) {
    this.cancel();
    this.m_timers = [
      setTimeout(() => {
        this.m_title.textContent = title;
        this.m_text.textContent = text;
        this.m_element.hidden = false;
      }, lateMs),
      setTimeout(onGiveUp, giveUpMs),
    ];
  }

  cancel() {
    this.m_timers.forEach(clearTimeout);
    this.m_timers = [];
    this.m_element.hidden = true;
  }
}
