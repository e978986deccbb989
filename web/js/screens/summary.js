// The strip at the top of the payment screens: which room, which stay and
// until when, how much.

import { formatWon, stayName } from '../format.js';

export function renderSummary(element, sale) {
  const { room, dayUse, price, endText } = sale;
  const stay = [stayName(dayUse), dayUse ? room.rentalDuration : '', endText].filter(Boolean).join(' · ');
  element.replaceChildren(
    part('summary__class', room.className || '객실'),
    part('summary__room', room.name, 'summary-room'),
    part('summary__stay', stay, 'summary-stay'),
    part('summary__price', formatWon(price), 'summary-price'),
  );
}

function part(className, text, testId) {
  const span = document.createElement('span');
  span.className = className;
  span.textContent = text;
  if (testId) {
    span.dataset.testid = testId;
  }
  return span;
}
