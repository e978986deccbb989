// How a visit ended: sold, refused, refunded or declined. A sale repeats
// the room, when the stay ends and where the key card and the ticket come
// out. After a while the page goes home by itself, or at once with 확인; a
// result that still waits for the kiosk (a refund under way) stays until it
// is updated. A refund or a declined card lets the guest pay another way.

export class CResultScreen {
  constructor(element, { onTimeout, onRetry }) {
    this.m_element = element;
    this.m_onTimeout = onTimeout;
    const byTestId = (id) => element.querySelector(`[data-testid="${id}"]`);
    this.m_title = byTestId('result-title');
    this.m_room = byTestId('result-room');
    this.m_stay = byTestId('result-stay');
    this.m_lines = byTestId('result-lines');
    this.m_handout = byTestId('result-handout');
    this.m_retry = byTestId('result-retry');
    this.m_ok = byTestId('result-ok');
    this.m_countdown = byTestId('result-countdown');
    this.m_retry.addEventListener('click', onRetry);
    this.m_ok.addEventListener('click', () => this.finish());
    this.m_timer = 0;
    this.m_deadline = 0;
  }

  // tone: "success", "info" or "warning"; holdMs: null to stay.
  show({ tone, title, room = '', stay = '', lines, handout = '', retry = false, holdMs }) {
    this.cancel();
    this.m_element.dataset.tone = tone;
    this.m_title.textContent = title;
    showText(this.m_room, room);
    showText(this.m_stay, stay);
    this.m_handout.lastChild.textContent = handout;
    this.m_handout.hidden = handout === '';
    this.m_lines.replaceChildren(
      ...lines.map((line) => {
        const item = document.createElement('li');
        item.textContent = line;
        return item;
      }),
    );
    this.m_retry.hidden = !retry;
    this.m_ok.hidden = holdMs === null;
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

  finish() {
    this.cancel();
    this.m_onTimeout();
  }

  tick() {
    const seconds = Math.ceil((this.m_deadline - performance.now()) / 1000);
    if (seconds <= 0) {
      this.finish();
      return;
    }
    this.m_countdown.textContent = `${seconds}초 후 처음 화면으로 돌아갑니다`;
  }
}

function showText(element, text) {
  element.textContent = text;
  element.hidden = text === '';
}
