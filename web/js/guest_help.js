// Help for a guest in trouble, on every screen: the call-staff overlay with
// the motel's phone number (shown only when the operator set one) and what
// to do, and the phone number wherever the screen tells the guest to call.

export class CGuestHelp {
  constructor(root, screenSettings) {
    this.m_root = root;
    this.m_settings = screenSettings;
    this.m_overlay = root.querySelector('[data-testid="help"]');
    this.m_opener = root.querySelector('[data-testid="help-open"]');
    this.m_close = root.querySelector('[data-testid="help-close"]');
    this.m_opener.addEventListener('click', () => this.open());
    this.m_close.addEventListener('click', () => this.close());
    this.m_overlay.addEventListener('keydown', (event) => {
      if (event.key === 'Escape') {
        this.close();
      }
    });
  }

  // The settings arrived or changed.
  render() {
    const { phone } = this.m_settings;
    const fill = (id, text) => {
      this.m_root.querySelector(`[data-testid="${id}"]`).textContent = text;
    };
    fill('help-phone', phone);
    this.m_root.querySelector('[data-testid="help-call"]').hidden = phone === '';
    this.m_root.querySelector('[data-testid="help-nophone"]').hidden = phone !== '';
    fill('help-age', this.m_settings.ageNotice);
    fill('help-hours', this.m_settings.hoursNotice);
    fill('help-refund', this.m_settings.refundNotice);
    for (const line of this.m_root.querySelectorAll('[data-phone]')) {
      line.textContent = phone === '' ? '' : `관리자 전화 ${phone}`;
      line.hidden = phone === '';
    }
  }

  // "관리자에게 연락해 주세요" with the number when there is one.
  get callStaff() {
    const { phone } = this.m_settings;
    return phone === '' ? '관리자에게 연락해 주세요.' : `관리자(${phone})에게 연락해 주세요.`;
  }

  open() {
    this.m_overlay.hidden = false;
    this.m_close.focus();
  }

  close() {
    this.m_overlay.hidden = true;
    this.m_opener.focus();
  }
}
