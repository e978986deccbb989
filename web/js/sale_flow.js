// One guest's visit from the room choice to the result, and what the kiosk
// is told on the way. The commands each control sends:
//   room card            SelectRoom "CLASS||ROOMNO||ROOMNAME"
//   대실 / 숙박           SelectCheckInType "대실||ROOMNO" or "숙박||ROOMNO"
//   현금 / 카드           TouchScreen "MoveBtn" (the idle countdown ends with the
//                        choice screens), then SetPay "ROOMNO||DAYUSE||PRICE||CASH"
//   이전                 TouchScreen "PreBtn"; back at home also SetHome "0||true"
//   처음으로             TouchScreen "HomeBtn", then SetHome "0||true" (also on the
//                        card screen, until the terminal answers)
//   취소 (cash)          ReturnRecvMoney
//   enough cash, card approved   MakeTicket "ROOMNO||DAYUSE||CASH||PRICE", once
// Every return home after a choice sends SetHome "0||true", so the kiosk
// resets the sale; the kiosk's GoHome is obeyed on the choice screens only,
// never while money or a key card is on its way.

import { formatWon, stayName } from './format.js';
import { isForSale } from './rooms.js';
import { joinValues, splitValues } from './values.js';

const RESULT_HOLD_MS = 8000;
const CALL_STAFF_HOLD_MS = 15000;
const CALL_STAFF = '관리자에게 연락해 주세요.';

const CHOICE_SCREENS = new Set(['stay', 'payment']);

// What the kiosk's MakeTicketRes "0||N" warnings mean; the sale goes on.
const ISSUE_WARNINGS = {
  1: '영수증을 출력하지 못했습니다',
  2: '객실 키를 발급하지 못했습니다',
  3: '객실 키와 영수증을 드리지 못했습니다',
};

export class CSaleFlow {
  constructor({ bridge, switcher, rooms, settings, screens, progress, overlays }) {
    this.m_bridge = bridge;
    this.m_switcher = switcher;
    this.m_rooms = rooms;
    this.m_settings = settings;
    this.m_screens = screens;
    this.m_progress = progress;
    this.m_overlays = overlays;
    this.m_sale = null;
  }

  // --- the guest's choices

  chooseRoom(room) {
    this.m_sale = { room };
    this.send('SelectRoom', joinValues(room.className, room.roomNo, room.name));
    this.showStay();
  }

  chooseStay(dayUse) {
    const sale = this.m_sale;
    sale.dayUse = dayUse;
    sale.price = dayUse ? sale.room.rentalPrice : sale.room.sleepPrice;
    this.send('SelectCheckInType', joinValues(stayName(dayUse), sale.room.roomNo));
    this.showPayment();
  }

  choosePayment(cash) {
    const sale = this.m_sale;
    Object.assign(sale, { cash, inserted: 0, refunding: false, warnings: new Set() });
    this.send('TouchScreen', 'MoveBtn');
    this.send('SetPay', joinValues(sale.room.roomNo, sale.dayUse, sale.price, cash));
    if (cash) {
      this.m_screens.cash.show(sale);
      this.m_switcher.show('cash');
    } else {
      // Until the terminal answers the guest may still leave: the kiosk
      // cancels an approval that comes after they went home.
      this.m_screens.card.show(sale);
      this.m_switcher.show('card', { home: true });
    }
  }

  cancelCash() {
    const sale = this.m_sale;
    if (sale.refunding) {
      return;
    }
    sale.refunding = true;
    this.send('ReturnRecvMoney');
    this.m_screens.cash.showReturning();
  }

  back() {
    this.send('TouchScreen', 'PreBtn');
    if (this.m_switcher.current === 'payment') {
      this.showStay();
    } else {
      this.goHome();
    }
  }

  homeButton() {
    this.send('TouchScreen', 'HomeBtn');
    this.goHome();
  }

  goHome() {
    this.send('SetHome', joinValues(0, true));
    this.showHome();
  }

  // Home without telling the kiosk: at start and after a reconnect.
  showHome() {
    this.m_sale = null;
    this.m_progress.stop();
    this.m_screens.result.cancel();
    this.m_switcher.show('home');
  }

  get atHome() {
    return this.m_switcher.current === 'home';
  }

  // --- what the kiosk reports

  onGoHome() {
    if (CHOICE_SCREENS.has(this.m_switcher.current)) {
      this.goHome();
    }
  }

  // "price||inserted||change"
  onRecvMoney(args) {
    if (this.m_switcher.current !== 'cash') {
      return;
    }
    const [price, inserted, change] = splitValues(args).map((value) => Number.parseInt(value, 10) || 0);
    const sale = this.m_sale;
    sale.inserted = inserted;
    this.m_screens.cash.setMoney(price, inserted, change);
    // Leaving the cash screen makes this the only MakeTicket of the sale.
    if (!sale.refunding && price > 0 && inserted >= price) {
      this.makeTicket();
    }
  }

  onReturnRecvMoneyRes(args) {
    const returned = args === '1';
    const current = this.m_switcher.current;
    if (current === 'cash') {
      this.showRefund(returned);
    } else if (current === 'result' && this.m_sale?.awaitingRefund) {
      this.showRefusal(returned);
    }
  }

  onCreditRes(args) {
    if (this.m_switcher.current !== 'card') {
      return;
    }
    if (args === '1') {
      this.makeTicket();
      return;
    }
    this.showResult({
      tone: 'warning',
      title: '카드 결제가 승인되지 않았습니다',
      lines: ['카드를 받아 주세요.', '다른 카드로 다시 시도하시거나 현금으로 결제해 주세요.'],
      holdMs: RESULT_HOLD_MS,
    });
  }

  onFallback() {
    if (this.m_switcher.current === 'card') {
      this.m_screens.card.showFallback();
    }
  }

  // "result||N": 1 sold with N won change; 0 with 1 to 3 a warning before
  // the final answer, 4 refused, 0 change not paid.
  onMakeTicketRes(args) {
    if (this.m_switcher.current !== 'issuing') {
      return;
    }
    const [result, detail] = splitValues(args);
    const code = Number.parseInt(detail, 10) || 0;
    if (result === '1') {
      this.showSold(code);
    } else if (ISSUE_WARNINGS[code]) {
      this.m_sale.warnings.add(code);
      this.m_screens.issuing.addWarning(`${ISSUE_WARNINGS[code]}. ${CALL_STAFF}`);
    } else if (code === 4) {
      this.m_sale.awaitingRefund = this.m_sale.cash;
      this.showRefusal(null);
    } else {
      this.showChangeNotPaid();
    }
  }

  // Out of service: a guest still choosing goes home; a payment under way
  // finishes first.
  applyService() {
    if (!this.m_settings.inService && CHOICE_SCREENS.has(this.m_switcher.current)) {
      this.goHome();
    }
  }

  // The room list, the chosen room or what may be sold changed.
  refresh() {
    const current = this.m_switcher.current;
    if (!CHOICE_SCREENS.has(current)) {
      return;
    }
    const room = this.m_rooms.find(this.m_sale.room.roomNo);
    const stayAllowed = this.m_sale.dayUse ? this.m_settings.rentalAllowed : this.m_settings.sleepAllowed;
    if (room === null || !isForSale(room) || (current === 'payment' && !stayAllowed)) {
      this.goHome();
      this.m_overlays.notice('선택하신 객실은 지금 이용하실 수 없습니다');
      return;
    }
    this.m_sale.room = room;
    if (current === 'stay') {
      this.showStay();
    } else {
      this.m_sale.price = this.m_sale.dayUse ? room.rentalPrice : room.sleepPrice;
      this.showPayment();
    }
  }

  // --- screens

  showStay() {
    this.m_screens.stay.show(this.m_sale.room);
    this.m_switcher.show('stay', { back: true, home: true });
  }

  showPayment() {
    this.m_screens.payment.show(this.m_sale);
    this.m_switcher.show('payment', { back: true, home: true });
  }

  makeTicket() {
    const sale = this.m_sale;
    this.send('MakeTicket', joinValues(sale.room.roomNo, sale.dayUse, sale.cash, sale.price));
    this.m_screens.issuing.show(sale);
    this.m_switcher.show('issuing');
  }

  showSold(change) {
    const warnings = this.m_sale.warnings;
    const lines = [...this.handOverLines()];
    if (change > 0) {
      lines.push(`거스름돈 ${formatWon(change)}을 받아 주세요.`);
    }
    this.showResult({
      tone: 'success',
      title: '결제가 완료되었습니다',
      room: this.m_sale.room.name,
      lines,
      holdMs: warnings.size > 0 ? CALL_STAFF_HOLD_MS : RESULT_HOLD_MS,
    });
  }

  showChangeNotPaid() {
    this.showResult({
      tone: 'warning',
      title: '거스름돈을 드리지 못했습니다',
      room: this.m_sale.room.name,
      lines: [...this.handOverLines(), CALL_STAFF],
      holdMs: CALL_STAFF_HOLD_MS,
    });
  }

  // What the guest takes from the kiosk, after the warnings reported.
  *handOverLines() {
    const warnings = this.m_sale.warnings;
    if (warnings.has(3)) {
      yield `${ISSUE_WARNINGS[3]}. ${CALL_STAFF}`;
    } else if (warnings.has(2)) {
      yield '영수증을 받아 주세요.';
      yield `${ISSUE_WARNINGS[2]}. ${CALL_STAFF}`;
    } else if (warnings.has(1)) {
      yield '객실 키를 받아 주세요.';
      yield `${ISSUE_WARNINGS[1]}.`;
    } else {
      yield '객실 키와 영수증을 받아 주세요.';
    }
  }

  // returned: null while a cash refund is still under way.
  showRefusal(returned) {
    const lines = ['선택하신 객실은 지금 판매할 수 없습니다.'];
    let holdMs = RESULT_HOLD_MS;
    if (!this.m_sale.cash) {
      lines.push('카드 결제는 자동으로 취소됩니다. 취소 내역은 카드사에서 확인하실 수 있습니다.');
      holdMs = CALL_STAFF_HOLD_MS;
    } else if (returned === null) {
      lines.push('투입하신 금액을 돌려 드리고 있습니다.');
      holdMs = null;
    } else if (returned) {
      lines.push('투입하신 금액을 받아 주세요.');
      this.m_sale.awaitingRefund = false;
    } else {
      lines.push(`투입하신 금액을 돌려 드리지 못했습니다. ${CALL_STAFF}`);
      this.m_sale.awaitingRefund = false;
      holdMs = CALL_STAFF_HOLD_MS;
    }
    this.showResult({ tone: 'warning', title: '객실을 배정하지 못했습니다', lines, holdMs });
  }

  showRefund(returned) {
    if (returned) {
      const line = this.m_sale.inserted > 0 ? '투입하신 금액을 받아 주세요.' : '결제를 취소했습니다.';
      this.showResult({ tone: 'info', title: '반환되었습니다', lines: [line], holdMs: RESULT_HOLD_MS });
    } else {
      this.showResult({
        tone: 'warning',
        title: '반환하지 못했습니다',
        lines: [`투입하신 금액을 돌려 드리지 못했습니다. ${CALL_STAFF}`],
        holdMs: CALL_STAFF_HOLD_MS,
      });
    }
  }

  // Going home is offered only once the kiosk has nothing more to pay out.
  showResult(result) {
    this.m_screens.result.show(result);
    this.m_switcher.show('result', { back: false, home: result.holdMs !== null });
  }

  send(command, args = '') {
    this.m_bridge.send(command, args);
  }
}
