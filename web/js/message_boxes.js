// The kiosk's message boxes (the front desk's messages, "Ready!", a request
// that timed out): shown one at a time over everything, in the order they
// came, each until someone presses 확인.

export class CMessageBoxes {
  constructor(root) {
    this.m_layer = root.querySelector('[data-testid="message-box"]');
    this.m_caption = this.m_layer.querySelector('[data-testid="message-box-caption"]');
    this.m_text = this.m_layer.querySelector('[data-testid="message-box-text"]');
    this.m_waiting = [];
    this.m_layer
      .querySelector('[data-testid="message-box-ok"]')
      .addEventListener('click', () => this.showNext());
  }

  show(caption, text) {
    this.m_waiting.push({ caption, text });
    if (this.m_layer.hidden) {
      this.showNext();
    }
  }

  showNext() {
    const box = this.m_waiting.shift();
    this.m_layer.hidden = box === undefined;
    if (box !== undefined) {
      this.m_caption.textContent = box.caption;
      this.m_text.textContent = box.text;
    }
  }
}
