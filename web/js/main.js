// The customer screen: wires the line to the kiosk, the room list, the
// screens and the overlays together.

import { CKioskBridge } from './bridge.js';
import { startClock } from './clock.js';
import { CGuestHelp } from './guest_help.js';
import { CIdleProgress } from './idle_progress.js';
import { createReceiveScript } from './kiosk_calls.js';
import { CKioskSettings } from './kiosk_settings.js';
import { CMessageBoxes } from './message_boxes.js';
import { watchOperatorGesture } from './operator_gesture.js';
import { COverlays } from './overlays.js';
import { CRoomList } from './rooms.js';
import { CSaleFlow } from './sale_flow.js';
import { CScreenSettings } from './screen_settings.js';
import { CScreenSwitcher } from './screen_switcher.js';
import { CCardScreen } from './screens/card.js';
import { CCashScreen } from './screens/cash.js';
import { CHomeScreen } from './screens/home.js';
import { CIssuingScreen } from './screens/issuing.js';
import { CPaymentScreen } from './screens/payment.js';
import { CResultScreen } from './screens/result.js';
import { CStayScreen } from './screens/stay.js';
import { watchTextSize } from './text_size.js';
import { CWaitLimit } from './wait_limit.js';
import { CWelcomeChime } from './welcome_chime.js';

const app = document.getElementById('app');
const byTestId = (id) => app.querySelector(`[data-testid="${id}"]`);
const screenElement = (name) => app.querySelector(`[data-screen="${name}"]`);

const settings = new CKioskSettings();
const screenSettings = new CScreenSettings();
const help = new CGuestHelp(app, screenSettings);
const rooms = new CRoomList();
const switcher = new CScreenSwitcher(app);
const overlays = new COverlays(app);
const progress = new CIdleProgress(byTestId('idle-progress'));
const messageBoxes = new CMessageBoxes(app);

// The flow is created after the screens, which report the guest's choices to it.
let flow = null;
const screens = {
  home: new CHomeScreen(screenElement('home'), { rooms, settings, onRoomChosen: (room) => flow.chooseRoom(room) }),
  stay: new CStayScreen(screenElement('stay'), { settings, screenSettings, onStay: (dayUse) => flow.chooseStay(dayUse) }),
  payment: new CPaymentScreen(screenElement('payment'), {
    settings,
    screenSettings,
    onConsent: () => flow.consent(),
    onPay: (cash) => flow.choosePayment(cash),
  }),
  cash: new CCashScreen(screenElement('cash'), { onCancel: () => flow.cancelCash() }),
  card: new CCardScreen(screenElement('card'), { onBack: () => flow.leaveCard() }),
  issuing: new CIssuingScreen(screenElement('issuing')),
  result: new CResultScreen(screenElement('result'), {
    onTimeout: () => flow.endVisit(),
    onRetry: () => flow.payAgain(),
  }),
};

// The operator's settings are read again after every connect: a kiosk that
// was restarted may serve new ones.
async function loadScreenSettings() {
  await screenSettings.load();
  showScreenSettings();
}

function showScreenSettings() {
  help.render();
  byTestId('home-age-notice').textContent = screenSettings.ageNotice;
}

let receiveScript = null;
const bridge = new CKioskBridge(`ws://${location.host}/ws`, {
  onCall: (command, args) => receiveScript(command, args),
  onMessageBox: (caption, text) => messageBoxes.show(caption, text),
  // Whatever the kiosk knew before is gone (it may have been restarted):
  // introduce the page again, and settle what was under way.
  onConnected: () => {
    overlays.setConnecting(false);
    overlays.hideError();
    overlays.setLoading(false);
    settings.reset();
    rooms.clear();
    screens.home.expectList();
    loadScreenSettings();
    bridge.send('InitKiosk');
    flow.onReconnected();
  },
  onDisconnected: () => overlays.setConnecting(true),
});

const textSize = watchTextSize(app, byTestId('text-size'));
flow = new CSaleFlow({
  bridge,
  switcher,
  rooms,
  settings,
  screenSettings,
  help,
  screens,
  progress,
  overlays,
  waitLimit: new CWaitLimit(byTestId('wait-late')),
  onVisitEnd: () => textSize.reset(),
});
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
startClock(byTestId('clock-date'), byTestId('clock-time'), () => flow.refreshTimes());

showScreenSettings();
screens.home.expectList();
flow.showHome();
overlays.setConnecting(true);
bridge.start();
