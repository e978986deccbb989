// The kiosk's calls into the customer screen, against the kiosk stand-in:
// the room list and its changes, what may be sold and paid, the overlays,
// sound, the operator's gesture and a kiosk that restarts.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { eventually, expectText, expectVisible } from './support/eventually.js';
import { roomLine } from './support/kiosk_standin.js';
import { confirmAge, TEST_ROOMS, useScreen } from './support/screen_fixture.js';

describe('kiosk calls on the customer screen', () => {
  let fixture;
  let kiosk;
  let page;
  let from;
  const byTestId = (id) => page.getByTestId(id);
  const cardText = (roomNo, id) => fixture.roomCard(roomNo).getByTestId(id);
  const shownRooms = () =>
    page.getByTestId('room-card').evaluateAll((cards) => cards.map((card) => Number(card.dataset.roomNo)));

  useScreen({
    onStart: (started) => {
      fixture = started;
      ({ kiosk, page } = started);
    },
    onReload: (mark) => {
      from = mark;
    },
  });

  test('home shows each room with class, prices, duration, state, picture and display mode', async () => {
    assert.deepEqual(await shownRooms(), [201, 202, 204, 301]);
    await expectText(cardText(301, 'room-class'), '디럭스');
    await expectText(cardText(301, 'room-name'), '301호');
    await expectText(cardText(301, 'room-rental-price'), '40,000원');
    await expectText(cardText(301, 'room-sleep-price'), '60,000원');
    await expectText(cardText(301, 'room-duration'), '4시간 30분');
    assert.equal(await fixture.roomCard(301).getAttribute('data-display-mode'), '2');
    const groups = await page.getByTestId('room-group').evaluateAll((sections) => sections.map((s) => s.dataset.class));
    assert.deepEqual(groups, ['스탠다드', '디럭스']);
    // 201_0.png exists, 301's picture of the same name too; the picture
    // loads in place of the placeholder.
    await eventually(async () =>
      assert.ok(await cardText(201, 'room-picture').locator('img').evaluate((img) => img.naturalWidth > 0)),
    );

    // A room that is not for sale is marked and cannot be chosen.
    await expectText(cardText(204, 'room-unavailable'), '판매 불가');
    await fixture.roomCard(204).click({ force: true });
    await fixture.roomCard(201).click();
    assert.equal(await kiosk.next('SelectRoom'), '스탠다드||201||201호');
    assert.equal(kiosk.count('SelectRoom', from), 1);
  });

  test('a missing picture leaves the placeholder, never a broken image', async () => {
    kiosk.call('UpdateRoomData', roomLine({ className: '스위트', roomNo: 777, name: '777호' }));
    const picture = cardText(777, 'room-picture');
    await picture.waitFor();
    await eventually(async () => assert.equal(await picture.locator('img').count(), 0));
    assert.equal(await picture.locator('svg').isVisible(), true);
  });

  test('"&clamp" arrives as "<"; ">" and "&" stay as they are', async () => {
    kiosk.call('UpdateRoomData', roomLine({ roomNo: 202, name: '<VIP> A&B 202' }));
    await expectText(cardText(202, 'room-name'), '<VIP> A&B 202');
  });

  test('UpdateRoomData replaces or adds a room, DeleteRoomData removes it, all without a reload', async () => {
    await page.evaluate(() => {
      window.sameDocument = true;
    });
    kiosk.call('UpdateRoomData', roomLine({ ...TEST_ROOMS[0], rentalPrice: 35000, state: 1 }));
    await expectText(cardText(201, 'room-rental-price'), '35,000원');
    await expectText(cardText(201, 'room-unavailable'), '판매 불가');

    kiosk.call('UpdateRoomData', roomLine({ className: '디럭스', roomNo: 305, name: '305호' }));
    kiosk.call('DeleteRoomData', '스탠다드||202');
    await eventually(async () => assert.deepEqual(await shownRooms(), [201, 204, 301, 305]));

    // A whole new list replaces the old one.
    kiosk.call('InitRoomData');
    kiosk.call('SetRoomData', roomLine({ className: '트윈', roomNo: 401, name: '401호' }));
    kiosk.call('EndSetRoomData');
    await eventually(async () => assert.deepEqual(await shownRooms(), [401]));
    assert.equal(await page.evaluate(() => window.sameDocument), true);
  });

  test('the room being chosen is sold meanwhile: the page goes home', async () => {
    await fixture.roomCard(202).click();
    await kiosk.next('SelectRoom');
    kiosk.call('UpdateRoomData', roomLine({ ...TEST_ROOMS[1], state: 1 }));
    assert.equal(await kiosk.next('SetHome'), '0||true');
    await expectVisible(byTestId('notice'));
  });

  test('EnableSaleType and EnablePayType hide what cannot be sold or paid', async () => {
    kiosk.call('EnableSaleType', 'Rental');
    await eventually(async () => assert.equal(await byTestId('sale-sleep').getAttribute('data-available'), 'false'));
    await fixture.roomCard(201).click();
    await expectVisible(byTestId('stay-rental'));
    await expectVisible(byTestId('stay-sleep'), false);

    kiosk.call('EnableSaleType', 'None');
    await expectVisible(byTestId('stay-rental'), false);
    await expectVisible(byTestId('stay-none'));

    kiosk.call('EnableSaleType', 'Sleep');
    await expectVisible(byTestId('stay-none'), false);
    kiosk.call('EnablePayType', 'Cash');
    await byTestId('stay-sleep').click();
    await expectVisible(byTestId('pay-cash'));
    await expectVisible(byTestId('pay-card'), false);

    kiosk.call('EnablePayType', 'Credit');
    await expectVisible(byTestId('pay-cash'), false);
    await expectVisible(byTestId('pay-card'));
  });

  test('the InitKiosk answer sets what is offered from the start', async () => {
    kiosk.initAnswer = 'Credit||0||Sleep';
    await page.reload();
    await fixture.roomCard(201).click();
    await expectVisible(byTestId('stay-rental'), false);
    await byTestId('stay-sleep').click();
    await expectVisible(byTestId('pay-cash'), false);
    kiosk.call('PlaySndWelcome');
    kiosk.call('EnableSound', '1');
    kiosk.call('PlaySndWelcome');
    await eventually(async () => assert.equal(await page.evaluate(() => document.body.dataset.chimes), '1'));
  });

  test('UseKiosk 0 sends a choosing guest home and shows the out-of-service screen until UseKiosk 1', async () => {
    await fixture.roomCard(201).click();
    await kiosk.next('SelectRoom');
    kiosk.call('UseKiosk', '0');
    assert.equal(await kiosk.next('SetHome'), '0||true');
    await expectVisible(byTestId('overlay-out-of-service'));
    kiosk.call('UseKiosk', '1');
    await expectVisible(byTestId('overlay-out-of-service'), false);
  });

  test('loading and error overlays come and go as the kiosk says', async () => {
    kiosk.call('PopupLoading');
    await expectVisible(byTestId('overlay-loading'));
    kiosk.call('ClearLoading');
    await expectVisible(byTestId('overlay-loading'), false);
    kiosk.call('PopupError');
    await expectText(byTestId('overlay-error').locator('h2'), '일시적으로 이용할 수 없습니다');
    await expectText(byTestId('error-money'), '결제된 금액은 없습니다.');
    kiosk.call('ClearError');
    await expectVisible(byTestId('overlay-error'), false);
  });

  test('an error during a cash payment gives the money back and says so', async () => {
    await fixture.roomCard(201).click();
    await byTestId('stay-rental').click();
    await confirmAge(page);
    await byTestId('pay-cash').click();
    kiosk.call('SetRecvMoney', '30000||10000||0');
    await expectText(byTestId('cash-inserted'), '10,000원');
    kiosk.call('PopupError');
    await expectText(byTestId('error-money'), '넣으신 10,000원은 결제되지 않았으며 돌려 드립니다.');
    await expectText(byTestId('error-todo'), '돈이 나오지 않으면 이 화면을 그대로 두고 관리자에게 연락해 주세요.');
    assert.equal(await kiosk.next('ReturnRecvMoney'), '');
    kiosk.call('ReturnRecvMoneyRes', '1');
    kiosk.call('ClearError');
    await expectText(byTestId('result-title'), '반환되었습니다');
    assert.equal(kiosk.count('MakeTicket', from), 0);
  });

  test('help with the operator phone number on every screen; without one, what to do', async () => {
    await byTestId('help-open').click();
    await expectVisible(byTestId('help-nophone'));
    await expectVisible(byTestId('help-call'), false);
    await byTestId('help-close').click();

    kiosk.screenSettings = { phone: '010-2345-6789', refundNotice: '환불은 프런트에 문의해 주세요.' };
    try {
      await fixture.reload();
      await fixture.roomCard(201).click();
      await byTestId('help-open').click();
      await expectText(byTestId('help-phone'), '010-2345-6789');
      await expectText(byTestId('help-refund'), '환불은 프런트에 문의해 주세요.');
      await expectVisible(byTestId('help-nophone'), false);
      await page.keyboard.press('Escape');
      await expectVisible(byTestId('help'), false);
      // The number goes wherever the guest is asked to call.
      await byTestId('stay-rental').click();
      await confirmAge(page);
      await byTestId('pay-cash').click();
      await byTestId('cash-cancel').click();
      kiosk.call('ReturnRecvMoneyRes', '0');
      await expectText(byTestId('result-lines'), '투입하신 금액을 돌려 드리지 못했습니다. 관리자(010-2345-6789)에게 연락해 주세요.');
    } finally {
      kiosk.screenSettings = {};
    }
  });

  test('message boxes show one after another, each until 확인, over every screen', async () => {
    await fixture.roomCard(201).click();
    kiosk.showMessageBox('안내', '오늘 밤 10시 점검\n잠시 이용이 멈춥니다');
    kiosk.showMessageBox('서버', 'Ready!');
    const box = byTestId('message-box');
    await expectVisible(box);
    await expectText(byTestId('message-box-caption'), '안내');
    await expectText(byTestId('message-box-text'), '오늘 밤 10시 점검\n잠시 이용이 멈춥니다');
    await byTestId('message-box-ok').click();
    await expectText(byTestId('message-box-text'), 'Ready!');
    await byTestId('message-box-ok').click();
    await expectVisible(box, false);
    await expectVisible(byTestId('stay-rental'));
    assert.deepEqual(kiosk.since(from).filter((line) => line.startsWith('SetHome')), []);
  });

  test('the welcome chime rings only while sound is on; unknown calls are ignored', async () => {
    kiosk.call('NoSuchCall', 'x');
    kiosk.call('PlaySndWelcome');
    await eventually(async () => assert.equal(await page.evaluate(() => document.body.dataset.chimes), '1'));
    kiosk.call('EnableSound', '0');
    kiosk.call('PlaySndWelcome');
    kiosk.call('StartProgress');
    await fixture.roomCard(201).click();
    await expectVisible(byTestId('idle-progress'));
    assert.equal(await page.evaluate(() => document.body.dataset.chimes), '1');
  });

  test('holding the top-right corner for three seconds asks for the configuration', async () => {
    const corner = await byTestId('operator-corner').boundingBox();
    await page.mouse.move(corner.x + corner.width / 2, corner.y + corner.height / 2);
    await page.mouse.down();
    assert.equal(await kiosk.next('PopupConfig'), '');
    await page.mouse.up();
    await fixture.roomCard(201).click();
    await kiosk.next('SelectRoom');
    assert.equal(kiosk.count('PopupConfig', from), 1);
  });

  test('a restarted kiosk: the controls wait, disabled, then InitKiosk and the rooms again', async () => {
    await fixture.roomCard(201).click();
    await kiosk.next('SelectRoom');
    await kiosk.stop();
    await expectVisible(byTestId('connection-status'));
    await expectText(byTestId('connection-status').locator('strong'), '키오스크와 연결이 끊겼습니다 · 연결 중…');
    // Nothing that would send a command can be pressed meanwhile; help can.
    assert.deepEqual(await page.evaluate(() => [
      document.querySelector('[data-testid="screens"]').inert,
      document.querySelector('.bottombar').inert,
      document.querySelector('[data-testid="help-open"]').closest('[inert]') === null,
    ]), [true, true, true]);
    await kiosk.start();
    assert.equal(await kiosk.next('InitKiosk'), '');
    await kiosk.next('SetRoomData');
    await expectVisible(byTestId('connection-status'), false);
    await expectVisible(byTestId('screen-home'));
    await fixture.roomCard(301).waitFor();
    assert.equal(await byTestId('screens').evaluate((screens) => screens.inert), false);
  });

  test('a kiosk lost while the guest pays cash: all the money goes back, and the guest is told', async () => {
    await fixture.roomCard(201).click();
    await byTestId('stay-sleep').click();
    await confirmAge(page);
    await byTestId('pay-cash').click();
    kiosk.call('SetRecvMoney', '50000||20000||0');
    await expectText(byTestId('cash-inserted'), '20,000원');
    await kiosk.stop();
    await expectVisible(byTestId('connection-status'));
    await kiosk.start();
    await kiosk.next('InitKiosk');
    assert.equal(await kiosk.next('ReturnRecvMoney'), '');
    await expectText(byTestId('notice'), '연결이 잠시 끊겨 결제를 취소했습니다. 넣으신 돈을 모두 돌려 드립니다');
    kiosk.call('ReturnRecvMoneyRes', '1');
    await expectText(byTestId('result-title'), '반환되었습니다');
    await expectText(byTestId('result-lines'), '투입하신 금액을 받아 주세요.');
  });
});
