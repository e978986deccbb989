// Paying in cash: the price, what was inserted so far and the change due, as
// the kiosk counts them, and a way to cancel and get the money back.

import { formatWon } from '../format.js';
import { renderSummary } from './summary.js';

export class CCashScreen {
  constructor(element, { onCancel }) {
    this.m_summary = element.querySelector('[data-testid="cash-summary"]');
    this.m_price = element.querySelector('[data-testid="cash-price"]');
    this.m_inserted = element.querySelector('[data-testid="cash-inserted"]');
    this.m_change = element.querySelector('[data-testid="cash-change"]');
    this.m_meter = element.querySelector('.cash-meter__fill');
    this.m_message = element.querySelector('[data-testid="cash-message"]');
    this.m_cancel = element.querySelector('[data-testid="cash-cancel"]');
    this.m_cancel.addEventListener('click', onCancel);
    this.m_returning = false;
  }

  show(sale) {
    renderSummary(this.m_summary, sale);
    this.m_cancel.disabled = false;
    this.m_returning = false;
    this.setMoney(sale.price, 0, 0);
  }

  setMoney(price, inserted, change) {
    if (!this.m_returning) {
      this.m_message.textContent =
        inserted > 0 && inserted < price
          ? `${formatWon(price - inserted)}을 더 넣어 주세요`
          : '지폐 투입구에 지폐를 한 장씩 넣어 주세요';
    }
    this.m_price.textContent = formatWon(price);
    this.m_inserted.textContent = formatWon(inserted);
    this.m_change.textContent = formatWon(change);
    const share = price > 0 ? Math.min(1, inserted / price) : 0;
    this.m_meter.style.transform = `scaleX(${share})`;
  }

  showReturning() {
    this.m_returning = true;
    this.m_cancel.disabled = true;
    this.m_message.textContent = '투입하신 금액을 돌려 드리고 있습니다';
  }
}
