// One guest's visit from the room choice to the result, and what the kiosk
// is told on the way. The commands each control sends:
//   room card            SelectRoom "CLASS||ROOMNO||ROOMNAME"
//   대실 / 숙박           SelectCheckInType "대실||ROOMNO" or "숙박||ROOMNO"
//   현금 / 카드           TouchScreen "MoveBtn" (the idle countdown ends with the
//                        choice screens), then SetPay "ROOMNO||DAYUSE||PRICE||CASH"
//   이전                 TouchScreen "PreBtn"; back at home also SetHome "0||true"
//   처음으로, 확인        TouchScreen "HomeBtn" (처음으로 only), then SetHome "0||true"
//                        (also on the card screen, until the terminal answers)
//   취소 (cash)          ReturnRecvMoney
//   enough cash, card approved   MakeTicket "ROOMNO||DAYUSE||CASH||PRICE", once
//   another payment (card screen's way back, after a refund or a declined
//   card)                [TouchScreen "PreBtn"], SetHome "0||false" (the kiosk
//                        ends that payment and keeps the choice), then
//                        SelectCheckInType again (the idle countdown restarts)
// Every return home after a choice sends SetHome "0||true", so the kiosk
// resets the sale; the kiosk's GoHome is obeyed on the choice screens only,
// never while money or a key card is on its way.

import { formatWon, stayName } from './format.js';
import { isForSale } from './rooms.js';
import { stayEndText } from './stay_times.js';
import { joinValues, splitValues } from './values.js';

const RESULT_HOLD_MS = 20000;
const CALL_STAFF_HOLD_MS = 40000;
// The kiosk ends a sale whose answer or ticket does not come within a
// minute, and a payout within ten seconds a piece; the guest hears of a
// slow wait well before, and may leave once the kiosk should have answered.
const ISSUE_LATE_MS = 45000;
const REFUND_LATE_MS = 30000;
const WAIT_GIVE_UP_MS = 90000;

const CHOICE_SCREENS = new Set(['stay', 'payment']);

// What the kiosk's MakeTicketRes "0||N" warnings mean; the sale goes on.
const ISSUE_WARNINGS = {
  1: '영수증을 출력하지 못했습니다',
  2: '객실 키를 발급하지 못했습니다',
  3: '객실 키와 영수증을 드리지 못했습니다',
};

export class CSaleFlow {
  constructor({ bridge, switcher, rooms, settings, screenSettings, help, screens, progress, overlays, waitLimit, onVisitEnd }) {
    this.m_bridge = bridge;
    this.m_switcher = switcher;
    this.m_rooms = rooms;
    this.m_settings = settings;
    this.m_screenSettings = screenSettings;
    this.m_help = help;
    this.m_screens = screens;
    this.m_progress = progress;
    this.m_overlays = overlays;
    this.m_waitLimit = waitLimit;
    this.m_onVisitEnd = onVisitEnd ?? (() => {});
    this.m_sale = null;
  }

  // --- the guest's choices

  chooseRoom(room) {
    this.m_sale = { room, consented: false };
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

  // The guest confirmed the notices (of age among them) for this visit.
  consent() {
    this.m_sale.consented = true;
    this.showPayment();
  }

  choosePayment(cash) {
    const sale = this.m_sale;
    if (!sale.consented) {
      return;
    }
    Object.assign(sale, { cash, inserted: 0, refunding: false, awaitingRefund: false, warnings: new Set() });
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

  // The card screen's way back, before the terminal answered.
  leaveCard() {
    if (this.m_switcher.current === 'card') {
      this.send('TouchScreen', 'PreBtn');
      this.payAgain();
    }
  }

  // The same room and stay, paid another way.
  payAgain() {
    const sale = this.m_sale;
    this.m_screens.result.cancel();
    this.send('SetHome', joinValues(0, false));
    this.send('SelectCheckInType', joinValues(stayName(sale.dayUse), sale.room.roomNo));
    this.showPayment();
  }

  cancelCash() {
    const sale = this.m_sale;
    if (sale.refunding) {
      return;
    }
    sale.refunding = true;
    this.send('ReturnRecvMoney');
    this.m_screens.cash.showReturning();
    this.limitRefundWait();
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
    this.m_waitLimit.cancel();
    this.m_screens.result.cancel();
    // Scrolled once it is shown: a hidden list keeps no scroll position of its own.
    this.m_switcher.show('home');
    this.m_screens.home.showFromTop();
  }

  get atHome() {
    return this.m_switcher.current === 'home';
  }

  // --- what the kiosk reports

  onGoHome() {
    if (CHOICE_SCREENS.has(this.m_switcher.current)) {
      this.endVisit();
    }
  }

  // The guest walked away, or the sale's result has been read: the next
  // guest starts afresh.
  endVisit() {
    this.m_onVisitEnd();
    this.goHome();
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
      lines: ['결제된 금액은 없습니다. 카드를 받아 주세요.', '다른 카드로 다시 시도하시거나 현금으로 결제해 주세요.'],
      retry: true,
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
      this.m_screens.issuing.addWarning(`${ISSUE_WARNINGS[code]}. ${this.m_help.callStaff}`);
    } else if (code === 4) {
      this.m_sale.awaitingRefund = this.m_sale.cash;
      this.showRefusal(null);
    } else {
      this.showChangeNotPaid();
    }
  }

  // A fault stops sales (PopupError). Money under way goes back to the
  // guest: inserted cash is returned, a card payment not yet approved is
  // given up (a late approval is cancelled). The words for the error screen.
  onSalesStopped() {
    const current = this.m_switcher.current;
    const sale = this.m_sale;
    if (current === 'cash' && sale.inserted > 0) {
      this.cancelCash();
      return {
        money: `넣으신 ${formatWon(sale.inserted)}은 결제되지 않았으며 돌려 드립니다.`,
        todo: `돈이 나오지 않으면 이 화면을 그대로 두고 ${this.m_help.callStaff}`,
      };
    }
    if (current === 'card') {
      this.goHome();
      return {
        money: '카드 결제는 되지 않았습니다. 승인이 늦게 오더라도 자동으로 취소됩니다.',
        todo: '카드를 빼 주세요. 잠시 후 다시 이용해 주세요.',
      };
    }
    if (current === 'issuing' || (current === 'result' && sale?.awaitingRefund)) {
      return {
        money: sale.cash
          ? '객실이 배정되지 않으면 넣으신 돈은 돌려 드립니다.'
          : '객실이 배정되지 않으면 카드 결제는 자동으로 취소됩니다.',
        todo: `이 화면을 그대로 두고 ${this.m_help.callStaff}`,
      };
    }
    return { money: '결제된 금액은 없습니다.', todo: '잠시 후 다시 이용해 주세요. 불편을 드려 죄송합니다.' };
  }

  // The line to the kiosk is back (it may have been restarted). A guest who
  // was choosing starts over; money under way is settled and the guest is
  // told what happened to it.
  onReconnected() {
    const current = this.m_switcher.current;
    const sale = this.m_sale;
    if (current === 'cash' && !sale.refunding) {
      this.cancelCash();
      this.m_overlays.notice('연결이 잠시 끊겨 결제를 취소했습니다. 넣으신 돈을 모두 돌려 드립니다');
    } else if (current === 'card') {
      this.send('SetHome', joinValues(0, false));
      this.showResult({
        tone: 'warning',
        title: '연결이 잠시 끊겼습니다',
        lines: ['카드 결제를 취소했습니다. 승인되었더라도 자동으로 취소됩니다.', '다시 결제해 주세요.'],
        retry: true,
        holdMs: RESULT_HOLD_MS,
      });
    } else if (current === 'issuing') {
      this.showResult({
        tone: 'warning',
        title: '연결이 잠시 끊겼습니다',
        room: sale.room.name,
        lines: [
          '결제가 끝났는지 화면에서 확인하지 못했습니다.',
          '객실 키와 영수증이 나왔다면 그대로 이용하시면 됩니다.',
          `나오지 않았다면 ${this.m_help.callStaff}`,
        ],
        holdMs: CALL_STAFF_HOLD_MS,
      });
    } else if (current !== 'cash' && !(current === 'result' && sale?.awaitingRefund)) {
      this.showHome();
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

  // The clock moved on: the times on the choice screens follow it.
  refreshTimes() {
    if (CHOICE_SCREENS.has(this.m_switcher.current)) {
      this.refresh();
    }
  }

  // --- screens

  showStay() {
    this.m_screens.stay.show(this.m_sale.room, new Date());
    this.m_switcher.show('stay', { back: true, home: true });
  }

  showPayment() {
    this.m_sale.endText = this.endText(new Date());
    this.m_screens.payment.show(this.m_sale);
    this.m_switcher.show('payment', { back: true, home: true });
  }

  endText(now) {
    return stayEndText(now, this.m_sale, this.m_screenSettings.checkoutTime);
  }

  makeTicket() {
    const sale = this.m_sale;
    sale.endText = this.endText(new Date());
    this.send('MakeTicket', joinValues(sale.room.roomNo, sale.dayUse, sale.cash, sale.price));
    this.m_screens.issuing.show(sale);
    this.m_switcher.show('issuing');
    this.m_waitLimit.start({
      lateMs: ISSUE_LATE_MS,
      giveUpMs: WAIT_GIVE_UP_MS,
      title: '처리가 늦어지고 있습니다',
      text: `조금만 더 기다려 주세요. 계속 멈춰 있으면 이 화면을 그대로 두고 ${this.m_help.callStaff}`,
      onGiveUp: () => this.m_switcher.show('issuing', { home: true }),
    });
  }

  limitRefundWait() {
    this.m_waitLimit.start({
      lateMs: REFUND_LATE_MS,
      giveUpMs: WAIT_GIVE_UP_MS,
      title: '돈을 돌려 드리는 데 시간이 걸리고 있습니다',
      text: `돈이 나오지 않으면 이 화면을 그대로 두고 ${this.m_help.callStaff}`,
      onGiveUp: () => this.m_switcher.show(this.m_switcher.current, { home: true }),
    });
  }

  showSold(change) {
    const sale = this.m_sale;
    const lines = [...this.handOverLines()];
    if (change > 0) {
      lines.push(`거스름돈 ${formatWon(change)}을 받아 주세요.`);
    }
    this.showResult({
      tone: 'success',
      title: '결제가 완료되었습니다',
      room: sale.room.name,
      stay: `${stayName(sale.dayUse)} · ${sale.endText}`,
      lines,
      handout: true,
      holdMs: sale.warnings.size > 0 ? CALL_STAFF_HOLD_MS : RESULT_HOLD_MS,
    });
  }

  showChangeNotPaid() {
    this.showResult({
      tone: 'warning',
      title: '거스름돈을 드리지 못했습니다',
      room: this.m_sale.room.name,
      lines: [...this.handOverLines(), this.m_help.callStaff],
      handout: true,
      holdMs: CALL_STAFF_HOLD_MS,
    });
  }

  // What the guest takes from the kiosk, after the warnings reported.
  *handOverLines() {
    const warnings = this.m_sale.warnings;
    const callStaff = this.m_help.callStaff;
    if (warnings.has(3)) {
      yield `${ISSUE_WARNINGS[3]}. ${callStaff}`;
    } else if (warnings.has(2)) {
      yield '영수증을 받아 주세요.';
      yield `${ISSUE_WARNINGS[2]}. ${callStaff}`;
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
    const callStaff = this.m_help.callStaff;
    let holdMs = RESULT_HOLD_MS;
    if (!this.m_sale.cash) {
      lines.push('카드 결제는 자동으로 취소됩니다. 취소 내역은 카드사에서 확인하실 수 있습니다.');
      holdMs = CALL_STAFF_HOLD_MS;
    } else if (returned === null) {
      lines.push('투입하신 금액을 돌려 드리고 있습니다.');
      holdMs = null;
      this.limitRefundWait();
    } else if (returned) {
      lines.push('투입하신 금액을 받아 주세요.');
      this.m_sale.awaitingRefund = false;
    } else {
      lines.push(`투입하신 금액을 돌려 드리지 못했습니다. ${callStaff}`);
      this.m_sale.awaitingRefund = false;
      holdMs = CALL_STAFF_HOLD_MS;
    }
    this.showResult({ tone: 'warning', title: '객실을 배정하지 못했습니다', lines, holdMs });
  }

  showRefund(returned) {
    if (returned) {
      const line = this.m_sale.inserted > 0 ? '투입하신 금액을 받아 주세요.' : '결제를 취소했습니다.';
      this.showResult({ tone: 'info', title: '반환되었습니다', lines: [line], retry: true, holdMs: RESULT_HOLD_MS });
    } else {
      this.showResult({
        tone: 'warning',
        title: '반환하지 못했습니다',
        lines: [`투입하신 금액을 돌려 드리지 못했습니다. ${this.m_help.callStaff}`],
        holdMs: CALL_STAFF_HOLD_MS,
      });
    }
  }

  // Going home is offered only once the kiosk has nothing more to pay out.
  showResult(result) {
    if (result.holdMs !== null) {
      this.m_waitLimit.cancel();
    }
    const place = this.m_screenSettings.handoutPlace;
    this.m_screens.result.show({ ...result, handout: result.handout ? `객실 키와 영수증이 나오는 곳: ${place}` : '' });
    this.m_switcher.show('result', { back: false, home: result.holdMs !== null });
  }

  // A command the kiosk cannot get is never lost without a word.
  send(command, args = '') {
    if (!this.m_bridge.send(command, args)) {
      this.m_overlays.notice('키오스크와 연결이 끊겨 요청을 보내지 못했습니다. 잠시 후 다시 시도해 주세요');
    }
  }
}
