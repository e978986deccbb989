// Date and time in the top bar.

const DATE = new Intl.DateTimeFormat('ko-KR', { month: 'long', day: 'numeric', weekday: 'short' });
const TIME = new Intl.DateTimeFormat('ko-KR', { hour: '2-digit', minute: '2-digit', hour12: false });

export function startClock(dateElement, timeElement) {
  const show = () => {
    const now = new Date();
    dateElement.textContent = DATE.format(now);
    timeElement.textContent = TIME.format(now);
  };
  show();
  setInterval(show, 5000);
}
