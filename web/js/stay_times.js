// When a stay ends, by the rule the sale itself follows: day use lasts the
// room's duration from now; an overnight stay ends at the next check-out
// time after now (at 2 a.m. that is today's, at 3 p.m. tomorrow's). Times
// are the kiosk's own clock, in its time zone.

const DAY_MS = 24 * 3600 * 1000;
const DURATION = /^\s*(\d+)\s*시간(?:\s*(\d+)\s*분)?\s*$/;
const TIME = new Intl.DateTimeFormat('ko-KR', { hour: '2-digit', minute: '2-digit', hour12: false });
const DATE = new Intl.DateTimeFormat('ko-KR', { month: 'long', day: 'numeric', weekday: 'short' });

// "3시간" -> 180, "4시간 30분" -> 270; null for any other text.
export function durationMinutes(text) {
  const match = DURATION.exec(text ?? '');
  if (match === null) {
    return null;
  }
  return Number(match[1]) * 60 + Number(match[2] ?? 0);
}

// The end of day use begun at `now`, or null when the duration is not a length.
export function rentalEnd(now, durationText) {
  const minutes = durationMinutes(durationText);
  return minutes === null ? null : new Date(now.getTime() + minutes * 60000);
}

// The first check-out ("HH:MM") after `now`.
export function sleepEnd(now, checkoutTime) {
  const [hours, minutes] = checkoutTime.split(':').map(Number);
  const end = new Date(now);
  end.setHours(hours, minutes, 0, 0);
  if (end <= now) {
    end.setDate(end.getDate() + 1);
  }
  return end;
}

// "오늘", "내일" or "5월 17일 (일)".
function dayWord(now, end) {
  const startOfDay = (date) => new Date(date.getFullYear(), date.getMonth(), date.getDate()).getTime();
  const days = Math.round((startOfDay(end) - startOfDay(now)) / DAY_MS);
  if (days === 0) {
    return '오늘';
  }
  return days === 1 ? `내일 ${DATE.format(end)}` : DATE.format(end);
}

// "17:30"
export function clockText(date) {
  return TIME.format(date);
}

// "지금부터 17:30까지", "지금부터 내일 5월 16일 (토) 01:30까지".
export function rentalUntilText(now, durationText) {
  const end = rentalEnd(now, durationText);
  if (end === null) {
    return '';
  }
  const day = dayWord(now, end);
  return `지금부터 ${day === '오늘' ? '' : `${day} `}${clockText(end)}까지`;
}

// "내일 5월 16일 (토) 12:00 퇴실", "오늘 12:00 퇴실".
export function checkoutText(now, end) {
  return `${dayWord(now, end)} ${clockText(end)} 퇴실`;
}

// The end of a sale begun now, as the guest reads it.
export function stayEndText(now, { dayUse, room }, checkoutTime) {
  if (dayUse) {
    const end = rentalEnd(now, room.rentalDuration);
    return end === null ? '' : checkoutText(now, end);
  }
  return checkoutText(now, sleepEnd(now, checkoutTime));
}
