// How the guest pays: cash ("현금") and card ("카드"), as the kiosk allows.

import { renderSummary } from './summary.js';

export class CPaymentScreen {
  constructor(element, { settings, onPay }) {
    this.m_settings = settings;
    this.m_summary = element.querySelector('[data-testid="payment-summary"]');
    this.m_cash = element.querySelector('[data-testid="pay-cash"]');
    this.m_card = element.querySelector('[data-testid="pay-card"]');
    this.m_cash.addEventListener('click', () => onPay(true));
    this.m_card.addEventListener('click', () => onPay(false));
  }

  show(sale) {
    renderSummary(this.m_summary, sale);
    this.m_cash.hidden = !this.m_settings.cashAllowed;
    this.m_card.hidden = !this.m_settings.cardAllowed;
  }
}
