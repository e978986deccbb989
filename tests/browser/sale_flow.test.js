// One guest's visit on the customer screen, against the kiosk stand-in: what
// the page tells the kiosk at each step, and what it shows for the kiosk's
// answers.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { expectText, expectVisible } from './support/eventually.js';
import { confirmAge, useScreen } from './support/screen_fixture.js';

describe('a sale on the customer screen', () => {
  let fixture;
  let kiosk;
  let page;
  let from;
  const byTestId = (id) => page.getByTestId(id);

  useScreen({
    onStart: (started) => {
      fixture = started;
      ({ kiosk, page } = started);
    },
    onReload: (mark) => {
      from = mark;
    },
  });

  // Room, stay type and payment chosen; the commands they sent are checked.
  async function choose({ roomNo, stay, pay }) {
    await fixture.roomCard(roomNo).click();
    await kiosk.next('SelectRoom');
    await byTestId(`stay-${stay}`).click();
    await kiosk.next('SelectCheckInType');
    await confirmAge(page);
    await byTestId(`pay-${pay}`).click();
    await kiosk.next('SetPay');
  }

  test('cash: the inserted money counts up, MakeTicket goes once, the change is shown, then home', async () => {
    await fixture.roomCard(201).click();
    assert.equal(await kiosk.next('SelectRoom'), '스탠다드||201||201호');
    kiosk.call('StartProgress');
    await expectVisible(byTestId('idle-progress'));
    await byTestId('stay-rental').click();
    assert.equal(await kiosk.next('SelectCheckInType'), '대실||201');
    await confirmAge(page);
    await byTestId('pay-cash').click();
    await kiosk.next('SetPay');
    assert.deepEqual(kiosk.since(from), [
      'SelectRoom 스탠다드||201||201호',
      'SelectCheckInType 대실||201',
      'TouchScreen MoveBtn',
      'SetPay 201||true||30000||true',
    ]);
    await expectText(byTestId('cash-price'), '30,000원');
    await expectVisible(byTestId('idle-progress'), false);

    kiosk.call('SetRecvMoney', '30000||10000||0');
    await expectText(byTestId('cash-inserted'), '10,000원');
    await expectText(byTestId('cash-message'), '20,000원을 더 넣어 주세요');
    assert.equal(kiosk.count('MakeTicket', from), 0);

    kiosk.call('SetRecvMoney', '30000||35000||5000');
    assert.equal(await kiosk.next('MakeTicket'), '201||true||true||30000');
    await expectVisible(byTestId('screen-issuing'));
    kiosk.call('SetRecvMoney', '30000||35000||5000');

    kiosk.call('MakeTicketRes', '1||5000');
    await expectText(byTestId('result-title'), '결제가 완료되었습니다');
    await expectText(byTestId('result-room'), '201호');
    await expectText(byTestId('result-lines'), '객실 키와 영수증을 받아 주세요.\n거스름돈 5,000원을 받아 주세요.');

    // Home by itself after a while.
    assert.equal(await kiosk.next('SetHome'), '0||true');
    await expectVisible(byTestId('screen-home'));
    assert.equal(kiosk.count('MakeTicket', from), 1);
  });

  test('card: fall-back prompt, approval, MakeTicket without cash, a key-card warning before success', async () => {
    await choose({ roomNo: 301, stay: 'sleep', pay: 'card' });
    assert.deepEqual(kiosk.since(from).slice(-2), ['TouchScreen MoveBtn', 'SetPay 301||false||60000||false']);
    await expectText(byTestId('card-title'), '카드를 넣어 주세요');

    kiosk.call('SetFallback');
    await expectText(byTestId('card-title'), '카드를 긁어 주세요');

    kiosk.call('SetCreditRes', '1');
    assert.equal(await kiosk.next('MakeTicket'), '301||false||false||60000');

    kiosk.call('MakeTicketRes', '0||2');
    await expectText(byTestId('issuing-warnings'), '객실 키를 발급하지 못했습니다. 관리자에게 연락해 주세요.');
    await expectVisible(byTestId('screen-issuing'));

    kiosk.call('MakeTicketRes', '1||0');
    await expectText(byTestId('result-title'), '결제가 완료되었습니다');
    await expectText(
      byTestId('result-lines'),
      '영수증을 받아 주세요.\n객실 키를 발급하지 못했습니다. 관리자에게 연락해 주세요.',
    );

    const beforeHome = kiosk.commands.length;
    await byTestId('nav-home').click();
    await kiosk.next('SetHome');
    assert.deepEqual(kiosk.since(beforeHome), ['TouchScreen HomeBtn', 'SetHome 0||true']);
  });

  test('no way to pay before the guest confirms being 19 or older and the notices', async () => {
    await fixture.roomCard(201).click();
    await byTestId('stay-sleep').click();
    await kiosk.next('SelectCheckInType');
    await expectText(byTestId('notice-age'), '만 19세 미만 청소년은 객실을 이용하실 수 없습니다. 관리자가 신분증을 확인할 수 있습니다.');
    assert.equal(await byTestId('pay-cash').isDisabled(), true);
    assert.equal(await byTestId('pay-card').isDisabled(), true);
    // A tap on the disabled choices sends nothing.
    await byTestId('pay-cash').dispatchEvent('click');
    await byTestId('age-confirm').click();
    await byTestId('pay-card').click();
    await kiosk.next('SetPay');
    assert.deepEqual(kiosk.since(from).slice(-3), ['SelectCheckInType 숙박||201', 'TouchScreen MoveBtn', 'SetPay 201||false||50000||false']);
  });

  test('the card screen goes back to the payment choice, in the movie commands; a late approval sells nothing', async () => {
    await choose({ roomNo: 202, stay: 'rental', pay: 'card' });
    kiosk.call('SetFallback');
    await expectText(byTestId('card-title'), '카드를 긁어 주세요');
    const beforeBack = kiosk.mark();
    await byTestId('card-back').click();
    await expectVisible(byTestId('screen-payment'));
    await kiosk.next('SelectCheckInType');
    assert.deepEqual(kiosk.since(beforeBack), ['TouchScreen PreBtn', 'SetHome 0||false', 'SelectCheckInType 대실||202']);
    // Confirmed once for the visit; the kiosk's answer to the card given up changes nothing.
    await expectVisible(byTestId('consent-done'));
    kiosk.call('SetCreditRes', '1');
    await byTestId('pay-cash').click();
    assert.equal(await kiosk.next('SetPay'), '202||true||30000||true');
    assert.equal(kiosk.count('MakeTicket', from), 0);
  });

  test('a declined card: the same room paid in cash instead', async () => {
    await choose({ roomNo: 202, stay: 'rental', pay: 'card' });
    kiosk.call('SetCreditRes', '0');
    await expectText(byTestId('result-title'), '카드 결제가 승인되지 않았습니다');
    const beforeRetry = kiosk.mark();
    await byTestId('result-retry').click();
    await byTestId('pay-cash').click();
    await kiosk.next('SetPay');
    assert.deepEqual(kiosk.since(beforeRetry), [
      'SetHome 0||false',
      'SelectCheckInType 대실||202',
      'TouchScreen MoveBtn',
      'SetPay 202||true||30000||true',
    ]);
    kiosk.call('SetRecvMoney', '30000||30000||0');
    assert.equal(await kiosk.next('MakeTicket'), '202||true||true||30000');
  });

  test('stays end at real times, also after midnight, and the result says when and where', async () => {
    // 01:30 at night: day use of 4 hours 30 minutes ends at 06:00, an
    // overnight stay at today's check-out.
    await page.clock.setFixedTime(new Date('2026-05-16T01:30:00+09:00'));
    await fixture.roomCard(301).click();
    await expectText(byTestId('stay-rental-until'), '지금부터 06:00까지');
    await expectText(byTestId('stay-sleep-until'), '오늘 입실 · 오늘 12:00 퇴실');
    // 22:10: the day use ends after midnight, the night ends tomorrow.
    await page.clock.setFixedTime(new Date('2026-05-16T22:10:00+09:00'));
    await byTestId('nav-home').click();
    await fixture.roomCard(301).click();
    await expectText(byTestId('stay-rental-until'), '지금부터 내일 5월 17일 (일) 02:40까지');
    await expectText(byTestId('stay-sleep-until'), '오늘 입실 · 내일 5월 17일 (일) 12:00 퇴실');

    await byTestId('stay-sleep').click();
    await confirmAge(page);
    await byTestId('pay-card').click();
    kiosk.call('SetCreditRes', '1');
    await kiosk.next('MakeTicket');
    kiosk.call('MakeTicketRes', '1||0');
    await expectText(byTestId('result-room'), '301호');
    await expectText(byTestId('result-stay'), '숙박 · 내일 5월 17일 (일) 12:00 퇴실');
    await expectText(byTestId('result-handout'), '객실 키와 영수증이 나오는 곳: 화면 아래 배출구');
    const beforeOk = kiosk.mark();
    await byTestId('result-ok').click();
    await kiosk.next('SetHome');
    assert.deepEqual(kiosk.since(beforeOk), ['SetHome 0||true']);
  });

  test('card declined or given up before the terminal answers: the page goes home, no sale', async () => {
    await choose({ roomNo: 202, stay: 'rental', pay: 'card' });
    kiosk.call('SetCreditRes', '0');
    await expectText(byTestId('result-title'), '카드 결제가 승인되지 않았습니다');
    assert.equal(await kiosk.next('SetHome'), '0||true');

    await choose({ roomNo: 202, stay: 'rental', pay: 'card' });
    const beforeHome = kiosk.commands.length;
    await byTestId('nav-home').click();
    await kiosk.next('SetHome');
    assert.deepEqual(kiosk.since(beforeHome), ['TouchScreen HomeBtn', 'SetHome 0||true']);
    await expectVisible(byTestId('screen-home'));
    kiosk.call('SetCreditRes', '1');
    await fixture.roomCard(201).click();
    await kiosk.next('SelectRoom');
    assert.equal(kiosk.count('MakeTicket', from), 0, 'a late approval sells nothing');
  });

  test('refused cash sale: the page waits for the refund before it offers to go home', async () => {
    await choose({ roomNo: 202, stay: 'sleep', pay: 'cash' });
    kiosk.call('SetRecvMoney', '50000||50000||0');
    assert.equal(await kiosk.next('MakeTicket'), '202||false||true||50000');

    kiosk.call('MakeTicketRes', '0||4');
    await expectText(byTestId('result-title'), '객실을 배정하지 못했습니다');
    await expectText(byTestId('result-lines'), '선택하신 객실은 지금 판매할 수 없습니다.\n투입하신 금액을 돌려 드리고 있습니다.');
    await expectVisible(byTestId('nav-home'), false);
    // An idle expiry must not cut the refund short.
    kiosk.call('GoHome');

    kiosk.call('ReturnRecvMoneyRes', '1');
    await expectText(byTestId('result-lines'), '선택하신 객실은 지금 판매할 수 없습니다.\n투입하신 금액을 받아 주세요.');
    await byTestId('nav-home').click();
    await kiosk.next('SetHome');
    assert.deepEqual(kiosk.since(from).slice(-3), ['MakeTicket 202||false||true||50000', 'TouchScreen HomeBtn', 'SetHome 0||true']);
  });

  test('cancelled cash payment: ReturnRecvMoney, no ticket even when the price is reached meanwhile', async () => {
    await choose({ roomNo: 201, stay: 'sleep', pay: 'cash' });
    kiosk.call('SetRecvMoney', '50000||10000||0');
    await expectText(byTestId('cash-inserted'), '10,000원');

    await byTestId('cash-cancel').click();
    assert.equal(await kiosk.next('ReturnRecvMoney'), '');
    assert.equal(await byTestId('cash-cancel').isDisabled(), true);
    kiosk.call('SetRecvMoney', '50000||50000||0');
    await expectText(byTestId('cash-inserted'), '50,000원');

    kiosk.call('ReturnRecvMoneyRes', '1');
    await expectText(byTestId('result-title'), '반환되었습니다');
    assert.equal(await kiosk.next('SetHome'), '0||true');
    assert.equal(kiosk.count('MakeTicket', from), 0);
    assert.equal(kiosk.count('ReturnRecvMoney', from), 1);
  });

  test('a refund that fails tells the guest to call the staff', async () => {
    await choose({ roomNo: 201, stay: 'rental', pay: 'cash' });
    await byTestId('cash-cancel').click();
    await kiosk.next('ReturnRecvMoney');
    kiosk.call('ReturnRecvMoneyRes', '0');
    await expectText(byTestId('result-title'), '반환하지 못했습니다');
    await expectText(byTestId('result-lines'), '투입하신 금액을 돌려 드리지 못했습니다. 관리자에게 연락해 주세요.');
  });

  test('이전 steps back, 처음으로 and the idle timer go home; GoHome is ignored while paying', async () => {
    await byTestId('text-size').click();
    await fixture.roomCard(201).click();
    await byTestId('stay-rental').click();
    await kiosk.next('SelectCheckInType');

    await byTestId('nav-back').click();
    await expectVisible(byTestId('screen-stay'));
    await byTestId('nav-back').click();
    await kiosk.next('SetHome');
    await expectVisible(byTestId('screen-home'));
    assert.deepEqual(kiosk.since(from).slice(-3), ['TouchScreen PreBtn', 'TouchScreen PreBtn', 'SetHome 0||true']);

    assert.equal(await byTestId('text-size').getAttribute('aria-pressed'), 'true', 'the same guest');
    await fixture.roomCard(202).click();
    await kiosk.next('SelectRoom');
    kiosk.call('GoHome');
    assert.equal(await kiosk.next('SetHome'), '0||true');
    await expectVisible(byTestId('screen-home'));
    assert.equal(await byTestId('text-size').getAttribute('aria-pressed'), 'false', 'the next guest reads the normal size');

    await choose({ roomNo: 202, stay: 'rental', pay: 'cash' });
    kiosk.call('GoHome');
    kiosk.call('SetRecvMoney', '30000||1000||0');
    await expectText(byTestId('cash-inserted'), '1,000원');
    await expectVisible(byTestId('screen-cash'));
    assert.equal(kiosk.count('SetHome', from), 2);
  });
});
