// After payment: the kiosk registers the sale, issues the key card and prints
// the ticket. Problems with the card or the ticket are shown as they are
// reported; the final answer follows.

import { renderSummary } from './summary.js';

export class CIssuingScreen {
  constructor(element) {
    this.m_summary = element.querySelector('[data-testid="issuing-summary"]');
    this.m_warnings = element.querySelector('[data-testid="issuing-warnings"]');
  }

  show(sale) {
    renderSummary(this.m_summary, sale);
    this.m_warnings.replaceChildren();
  }

  addWarning(text) {
    const item = document.createElement('li');
    item.textContent = text;
    this.m_warnings.append(item);
  }
}
