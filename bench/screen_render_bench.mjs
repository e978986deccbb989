// The customer screen's home grid in headless Chromium, against the kiosk
// stand-in of the browser tests. Each sample loads the page afresh with no
// rooms and times, inside the page, the render of a push: from the arrival
// of the frame that ends it (EndSetRoomData, UpdateRoomData) until the
// page's style and layout are done (paint is not included; a frame at 60 Hz
// leaves 16 ms for all of it). The room frames before it are taken in as
// they come, and their transport is the kiosk's (room-push-bench):
//   - reference: an empty list (InitRoomData, EndSetRoomData), the page's
//     render of nothing;
//   - the first render of 1,000 rooms in 10 classes (InitRoomData, 1,000
//     SetRoomData, EndSetRoomData), a seventh of them sold;
//   - one room changed (UpdateRoomData), five times on each page.
// The last lines are "ratio render/empty R" and "ratio update/empty R".
//   node bench/screen_render_bench.mjs

import { openKioskScreen } from '../tests/browser/support/browser.js';
import { CKioskStandIn, roomLine } from '../tests/browser/support/kiosk_standin.js';
import { SAMPLE_PICTURES, WEB_ROOT } from '../tests/browser/support/sample_motel.js';

const ROOMS = Array.from({ length: 1000 }, (_, index) => ({
  className: `객실등급${(index % 10) + 1}`,
  roomNo: 1001 + index,
  state: index % 7 === 3 ? 1 : 0,
}));
const SAMPLES = 10;
const UPDATES_PER_SAMPLE = 5;

// In the page before its own scripts: the time each push's render takes,
// from the frame that ends it to the forced layout after the page handled
// it. The listener goes first on the socket, so the page's own handling of
// that frame is inside the time.
function timePushes() {
  window.pushTimes = [];
  const NativeSocket = window.WebSocket;
  window.WebSocket = class extends NativeSocket {
    constructor(...args) {
      super(...args);
      this.addEventListener('message', (event) => {
        if (!/EndSetRoomData|UpdateRoomData/.test(event.data)) {
          return;
        }
        const start = performance.now();
        const after = new MessageChannel();
        after.port1.onmessage = () => {
          void document.querySelector('[data-testid="room-groups"]').getBoundingClientRect();
          void document.body.offsetHeight;
          window.pushTimes.push(performance.now() - start);
        };
        after.port2.postMessage(null);
      });
    }
  };
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

const kiosk = new CKioskStandIn({ webRoot: WEB_ROOT, pictureFolder: SAMPLE_PICTURES });
await kiosk.start();
const screen = await openKioskScreen(kiosk.url, { prepare: (page) => page.addInitScript(timePushes) });
const { page } = screen;
const pushed = (count) => page.waitForFunction((n) => window.pushTimes.length >= n, count);
const times = { empty: [], render: [], update: [] };

try {
  for (let sample = 0; sample < SAMPLES; sample += 1) {
    kiosk.mark();
    await page.goto(kiosk.url);
    // The page's own request for the list is answered first (with none).
    await kiosk.next('SetRoomData');
    await pushed(1);
    await page.evaluate(() => document.fonts.ready);

    kiosk.call('InitRoomData');
    kiosk.call('EndSetRoomData');
    await pushed(2);
    kiosk.call('InitRoomData');
    ROOMS.forEach((room) => kiosk.call('SetRoomData', roomLine(room)));
    kiosk.call('EndSetRoomData');
    await pushed(3);
    for (let update = 1; update <= UPDATES_PER_SAMPLE; update += 1) {
      kiosk.call('UpdateRoomData', roomLine({ ...ROOMS[update * 97], rentalPrice: 30000 + update * 1000 }));
      await pushed(3 + update);
    }
    const [, empty, render, ...updates] = await page.evaluate(() => window.pushTimes);
    if ((await page.getByTestId('room-card').count()) !== ROOMS.length) {
      throw new Error('the page did not show every room');
    }
    times.empty.push(empty);
    times.render.push(render);
    times.update.push(...updates);
  }
} finally {
  await screen.close();
  await kiosk.stop();
}

const [empty, render, update] = [median(times.empty), median(times.render), median(times.update)];
console.log(`empty list, render (reference): median ${empty.toFixed(2)} ms (${SAMPLES} samples)`);
console.log(`first render of ${ROOMS.length} rooms: median ${render.toFixed(2)} ms`);
console.log(`one room update: median ${update.toFixed(2)} ms (${times.update.length} samples)`);
console.log(`ratio render/empty ${(render / empty).toFixed(1)}`);
console.log(`ratio update/empty ${(update / empty).toFixed(1)}`);
