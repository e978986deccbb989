// The customer screen: wires the line to the kiosk, the room list, the
// screens and the overlays together.

import { CKioskBridge } from './bridge.js';
import { startClock } from './clock.js';
import { CIdleProgress } from './idle_progress.js';
import { createReceiveScript } from './kiosk_calls.js';
import { CKioskSettings } from './kiosk_settings.js';
import { CMessageBoxes } from './message_boxes.js';
import { watchOperatorGesture } from './operator_gesture.js';
import { COverlays } from './overlays.js';
import { CRoomList } from './rooms.js';
import { CSaleFlow } from './sale_flow.js';
import { CScreenSwitcher } from './screen_switcher.js';
import { CCardScreen } from './screens/card.js';
import { CCashScreen } from './screens/cash.js';
import { CHomeScreen } from './screens/home.js';
import { CIssuingScreen } from './screens/issuing.js';
import { CPaymentScreen } from './screens/payment.js';
import { CResultScreen } from './screens/result.js';
import { CStayScreen } from './screens/stay.js';
import { CWelcomeChime } from './welcome_chime.js';

const app = document.getElementById('app');
const byTestId = (id) => app.querySelector(`[data-testid="${id}"]`);
const screenElement = (name) => app.querySelector(`[data-screen="${name}"]`);

const settings = new CKioskSettings();
const rooms = new CRoomList();
const switcher = new CScreenSwitcher(app);
const overlays = new COverlays(app);
const progress = new CIdleProgress(byTestId('idle-progress'));
const messageBoxes = new CMessageBoxes(app);

// The flow is created after the screens, which report the guest's choices to it.
let flow = null;
const screens = {
  home: new CHomeScreen(screenElement('home'), { rooms, settings, onRoomChosen: (room) => flow.chooseRoom(room) }),
  stay: new CStayScreen(screenElement('stay'), { settings, onStay: (dayUse) => flow.chooseStay(dayUse) }),
  payment: new CPaymentScreen(screenElement('payment'), { settings, onPay: (cash) => flow.choosePayment(cash) }),
  cash: new CCashScreen(screenElement('cash'), { onCancel: () => flow.cancelCash() }),
  card: new CCardScreen(screenElement('card')),
  issuing: new CIssuingScreen(screenElement('issuing')),
  result: new CResultScreen(screenElement('result'), { onTimeout: () => flow.goHome() }),
};

let receiveScript = null;
const bridge = new CKioskBridge(`ws://${location.host}/ws`, {
  onCall: (command, args) => receiveScript(command, args),
  onMessageBox: (caption, text) => messageBoxes.show(caption, text),
  // Whatever the kiosk knew before is gone (it may have been restarted):
  // start over and introduce the page again.
  onConnected: () => {
    overlays.setConnecting(false);
    overlays.setError(false);
    overlays.setLoading(false);
    settings.reset();
    rooms.clear();
    screens.home.expectList();
    flow.showHome();
    bridge.send('InitKiosk');
  },
  onDisconnected: () => overlays.setConnecting(true),
});

flow = new CSaleFlow({ bridge, switcher, rooms, settings, screens, progress, overlays });
receiveScript = createReceiveScript({
  bridge,
  settings,
  rooms,
  home: screens.home,
  flow,
  progress,
  overlays,
  chime: new CWelcomeChime(),
});

switcher.onChange(() => overlays.setOutOfService(!settings.inService && flow.atHome));
byTestId('nav-back').addEventListener('click', () => flow.back());
byTestId('nav-home').addEventListener('click', () => flow.homeButton());
watchOperatorGesture(byTestId('operator-corner'), () => bridge.send('PopupConfig'));
startClock(byTestId('clock-date'), byTestId('clock-time'));

screens.home.expectList();
flow.showHome();
overlays.setConnecting(true);
bridge.start();
