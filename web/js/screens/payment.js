// How the guest pays: cash ("현금") and card ("카드"), as the kiosk allows.
// Before either can be chosen the guest confirms the notices: that guests
// under 19 may not stay, the hours and the refund rule.

import { renderSummary } from './summary.js';

export class CPaymentScreen {
  constructor(element, { settings, screenSettings, onConsent, onPay }) {
    this.m_settings = settings;
    this.m_screenSettings = screenSettings;
    const byTestId = (id) => element.querySelector(`[data-testid="${id}"]`);
    this.m_summary = byTestId('payment-summary');
    this.m_consent = byTestId('consent');
    this.m_confirm = byTestId('age-confirm');
    this.m_done = byTestId('consent-done');
    this.m_notes = { age: byTestId('notice-age'), hours: byTestId('notice-hours'), refund: byTestId('notice-refund') };
    this.m_cash = byTestId('pay-cash');
    this.m_card = byTestId('pay-card');
    this.m_confirm.addEventListener('click', onConsent);
    this.m_cash.addEventListener('click', () => onPay(true));
    this.m_card.addEventListener('click', () => onPay(false));
  }

  show(sale) {
    renderSummary(this.m_summary, sale);
    this.m_notes.age.textContent = this.m_screenSettings.ageNotice;
    this.m_notes.hours.textContent = sale.dayUse ? this.m_screenSettings.rentalHours : this.m_screenSettings.sleepNotice;
    this.m_notes.refund.textContent = this.m_screenSettings.refundNotice;
    const wasConsented = this.m_consent.dataset.consented === 'true';
    this.m_consent.dataset.consented = String(sale.consented);
    this.m_confirm.hidden = sale.consented;
    this.m_done.hidden = !sale.consented;
    this.m_cash.hidden = !this.m_settings.cashAllowed;
    this.m_card.hidden = !this.m_settings.cardAllowed;
    for (const button of [this.m_cash, this.m_card]) {
      button.disabled = !sale.consented;
    }
    if (sale.consented && !wasConsented) {
      (this.m_cash.hidden ? this.m_card : this.m_cash).focus();
    }
  }
}
