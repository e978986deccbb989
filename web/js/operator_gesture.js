// Operators open the kiosk's configuration by holding a finger on the
// top-right corner for three seconds; guests never find it by chance.

const HOLD_MS = 3000;

export function watchOperatorGesture(corner, onHeld) {
  let timer = 0;
  const release = () => clearTimeout(timer);
  corner.addEventListener('pointerdown', (event) => {
    event.preventDefault();
    release();
    timer = setTimeout(onHeld, HOLD_MS);
  });
  for (const end of ['pointerup', 'pointerleave', 'pointercancel']) {
    corner.addEventListener(end, release);
  }
}
