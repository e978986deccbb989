// How a visit ended: sold, refused, refunded or declined. After a while the
// page goes home by itself; a result that still waits for the kiosk (a
// refund under way) stays until it is updated.

export class CResultScreen {
  constructor(element, { onTimeout }) {
    this.m_element = element;
    this.m_onTimeout = onTimeout;
    this.m_title = element.querySelector('[data-testid="result-title"]');
    this.m_room = element.querySelector('[data-testid="result-room"]');
    this.m_lines = element.querySelector('[data-testid="result-lines"]');
    this.m_countdown = element.querySelector('[data-testid="result-countdown"]');
    this.m_timer = 0;
    this.m_deadline = 0;
  }

  // tone: "success", "info" or "warning"; holdMs: null to stay.
  show({ tone, title, room = '', lines, holdMs }) {
    this.cancel();
    this.m_element.dataset.tone = tone;
    this.m_title.textContent = title;
    this.m_room.textContent = room;
    this.m_room.hidden = room === '';
    this.m_lines.replaceChildren(
      ...lines.map((line) => {
        const item = document.createElement('li');
        item.textContent = line;
        return item;
      }),
    );
    this.m_countdown.textContent = '';
    if (holdMs !== null) {
      this.m_deadline = performance.now() + holdMs;
      this.tick();
      this.m_timer = setInterval(() => this.tick(), 250);
    }
  }

  cancel() {
    clearInterval(this.m_timer);
  }

  tick() {
    const seconds = Math.ceil((this.m_deadline - performance.now()) / 1000);
    if (seconds <= 0) {
      this.cancel();
      this.m_onTimeout();
      return;
    }
    this.m_countdown.textContent = `${seconds}초 후 처음 화면으로 돌아갑니다`;
  }
}
