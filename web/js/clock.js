// Date and time in the top bar; onTick() runs whenever they are redrawn, so
// that times shown elsewhere follow the clock.

const DATE = new Intl.DateTimeFormat('ko-KR', { month: 'long', day: 'numeric', weekday: 'short' });
const TIME = new Intl.DateTimeFormat('ko-KR', { hour: '2-digit', minute: '2-digit', hour12: false });
const TICK_MS = 5000;

export function startClock(dateElement, timeElement, onTick = () => {}) {
  const show = () => {
    const now = new Date();
    dateElement.textContent = DATE.format(now);
    timeElement.textContent = TIME.format(now);
  };
  show();
  setInterval(() => {
    show();
    onTick();
  }, TICK_MS);
}
