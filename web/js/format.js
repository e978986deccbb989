// Texts shown to guests.

const WON = new Intl.NumberFormat('ko-KR');

// 30000 -> "30,000원"
export function formatWon(amount) {
  return `${WON.format(amount)}원`;
}

export function stayName(dayUse) {
  return dayUse ? '대실' : '숙박';
}
