// The kiosk's message boxes that are meant for guests (the front desk's
// notices; the kiosk keeps operator messages such as "Ready!" in its log):
// shown one at a time over everything, in the order they came, each until
// someone presses 확인 or for a while, so that no box keeps a guest from the
// screen.

const SHOWN_MS = 20000;

export class CMessageBoxes {
  constructor(root) {
    this.m_layer = root.querySelector('[data-testid="message-box"]');
    this.m_caption = this.m_layer.querySelector('[data-testid="message-box-caption"]');
    this.m_text = this.m_layer.querySelector('[data-testid="message-box-text"]');
    this.m_ok = this.m_layer.querySelector('[data-testid="message-box-ok"]');
    this.m_waiting = [];
    this.m_timer = 0;
    this.m_ok.addEventListener('click', () => this.showNext());
  }

  show(caption, text) {
    this.m_waiting.push({ caption, text });
    if (this.m_layer.hidden) {
      this.showNext();
    }
  }

  showNext() {
    clearTimeout(this.m_timer);
    const box = this.m_waiting.shift();
    this.m_layer.hidden = box === undefined;
    if (box !== undefined) {
      this.m_caption.textContent = box.caption;
      this.m_text.textContent = box.text;
      this.m_ok.focus();
      this.m_timer = setTimeout(() => this.showNext(), SHOWN_MS);
    }
  }
}
