// The idle countdown on the choice screens: the kiosk starts it (30 s) when
// the guest chose something and stops it when payment begins; when it runs
// out, the kiosk sends GoHome.

const IDLE_MS = 30000;

export class CIdleProgress {
  constructor(element) {
    this.m_element = element;
    this.m_fill = element.querySelector('.idle-bar__fill');
    this.m_text = element.querySelector('.idle-bar__text');
    this.m_deadline = 0;
    this.m_ticker = 0;
  }

  start() {
    this.stop();
    this.m_deadline = performance.now() + IDLE_MS;
    // Restart the shrinking bar from full.
    this.m_fill.style.animation = 'none';
    void this.m_fill.offsetWidth;
    this.m_fill.style.animation = '';
    this.m_element.classList.add('is-running');
    this.tick();
    this.m_ticker = setInterval(() => this.tick(), 250);
  }

  stop() {
    clearInterval(this.m_ticker);
    this.m_element.classList.remove('is-running');
  }

  tick() {
    const seconds = Math.max(0, Math.ceil((this.m_deadline - performance.now()) / 1000));
    this.m_text.textContent = `${seconds}초 후 처음 화면으로 돌아갑니다`;
    if (seconds === 0) {
      clearInterval(this.m_ticker);
    }
  }
}
