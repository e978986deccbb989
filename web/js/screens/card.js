// Paying by card: the card terminal reads the chip; when it cannot, the
// kiosk asks for the magnetic stripe instead. Until the terminal answers,
// the guest may go back and choose another payment.

import { renderSummary } from './summary.js';

export class CCardScreen {
  constructor(element, { onBack }) {
    this.m_element = element;
    this.m_summary = element.querySelector('[data-testid="card-summary"]');
    this.m_title = element.querySelector('[data-testid="card-title"]');
    this.m_message = element.querySelector('[data-testid="card-message"]');
    element.querySelector('[data-testid="card-back"]').addEventListener('click', onBack);
  }

  show(sale) {
    renderSummary(this.m_summary, sale);
    this.m_element.dataset.cardStep = 'insert';
    this.m_title.textContent = '카드를 넣어 주세요';
    this.m_message.textContent = 'IC 칩이 위를 향하도록 카드를 끝까지 넣고, 결제가 끝날 때까지 빼지 마세요';
  }

  showFallback() {
    this.m_element.dataset.cardStep = 'swipe';
    this.m_title.textContent = '카드를 긁어 주세요';
    this.m_message.textContent = 'IC 칩을 읽지 못했습니다. 카드를 빼신 뒤 마그네틱 선이 아래를 향하도록 긁어 주세요';
  }
}
