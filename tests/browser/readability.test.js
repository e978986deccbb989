// Readable by everyone, against the kiosk stand-in: on every screen and
// overlay each text keeps 4.5:1 against what is behind it, prices and times
// 7:1, measured from the colours the browser rendered; Korean lines break
// between words; the fonts come with the page; a keyboard alone can buy a
// room.

import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { expectVisible } from './support/eventually.js';
import { confirmAge, useScreen } from './support/screen_fixture.js';

const TEXT_AIM = 4.5;
const PRICE_AND_TIME_AIM = 7;
const PRICES_AND_TIMES = [
  '.price-row__amount', '.choice__price', '.choice__time', '.summary__price', '.summary__stay', '.cash-row strong',
  '.result-stay', '.clock__time', '.help-call__number', '.phone-line',
].join(',');

// In the page: every visible text whose contrast falls below its aim, as
// "text: ratio < aim". The colour behind a text is its own and its
// ancestors' background colours laid over each other down to an opaque
// one; the opacity of its ancestors fades the text into it.
function contrastFailures({ textAim, priceAim, pricesAndTimes }) {
  const rgba = (text) => {
    const [r, g, b, a = 1] = text.match(/[\d.]+/g).map(Number);
    return { r, g, b, a };
  };
  const over = (top, bottom) => ({
    r: top.r * top.a + bottom.r * (1 - top.a),
    g: top.g * top.a + bottom.g * (1 - top.a),
    b: top.b * top.a + bottom.b * (1 - top.a),
    a: 1,
  });
  const luminance = ({ r, g, b }) => {
    const channel = (value) => {
      const v = value / 255;
      return v <= 0.03928 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4;
    };
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
  };
  const behind = (element) => {
    const layers = [];
    for (let at = element; at !== null; at = at.parentElement) {
      const colour = rgba(getComputedStyle(at).backgroundColor);
      if (colour.a > 0) {
        layers.push(colour);
      }
      if (colour.a >= 1) {
        break;
      }
    }
    return layers.reduceRight((bottom, top) => over(top, bottom), { r: 255, g: 255, b: 255, a: 1 });
  };
  const fading = (element) => {
    let opacity = 1;
    for (let at = element; at !== null; at = at.parentElement) {
      opacity *= Number(getComputedStyle(at).opacity);
    }
    return opacity;
  };
  const failures = [];
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node !== null; node = walker.nextNode()) {
    const element = node.parentElement;
    if (node.textContent.trim() === '' || !element.checkVisibility({ visibilityProperty: true })) {
      continue;
    }
    const background = behind(element);
    const colour = rgba(getComputedStyle(element).color);
    const shown = over({ ...colour, a: colour.a * fading(element) }, background);
    const [light, dark] = [luminance(shown), luminance(background)].sort((x, y) => y - x);
    const ratio = (light + 0.05) / (dark + 0.05);
    const aim = element.closest(pricesAndTimes) !== null ? priceAim : textAim;
    if (ratio < aim) {
      failures.push(`${node.textContent.trim()}: ${ratio.toFixed(2)} < ${aim}`);
    }
  }
  return failures;
}

describe('the customer screen for every reader', () => {
  let fixture;
  let kiosk;
  let page;
  const byTestId = (id) => page.getByTestId(id);

  useScreen({
    screenSettings: { phone: '010-2345-6789' },
    onStart: (started) => {
      fixture = started;
      ({ kiosk, page } = started);
    },
    onReload: () => {},
  });

  // The screen as it is once its animations have ended.
  async function failuresNow() {
    await page.evaluate(() =>
      document
        .getAnimations()
        .filter((animation) => animation.effect?.getComputedTiming().endTime !== Infinity)
        .forEach((animation) => animation.finish()),
    );
    return page.evaluate(contrastFailures, {
      textAim: TEXT_AIM,
      priceAim: PRICE_AND_TIME_AIM,
      pricesAndTimes: PRICES_AND_TIMES,
    });
  }

  test('every screen and overlay keeps its contrast aims, in both text sizes', async () => {
    const seen = {};
    const look = async (name) => {
      seen[name] = await failuresNow();
    };
    await look('home');
    await byTestId('text-size').click();
    await look('home, larger text');
    await byTestId('text-size').click();
    await byTestId('help-open').click();
    await look('help');
    await byTestId('help-close').click();

    await fixture.roomCard(301).click();
    kiosk.call('StartProgress');
    await expectVisible(byTestId('idle-progress'));
    await look('stay');
    await byTestId('stay-sleep').click();
    await look('payment');
    await confirmAge(page);
    await look('payment, confirmed');
    await byTestId('pay-cash').click();
    kiosk.call('SetRecvMoney', '60000||10000||0');
    await look('cash');
    kiosk.call('PopupError');
    await expectVisible(byTestId('overlay-error'));
    await look('error');
    kiosk.call('ReturnRecvMoneyRes', '1');
    kiosk.call('ClearError');
    await expectVisible(byTestId('screen-result'));
    await look('refund');

    await byTestId('result-retry').click();
    await byTestId('pay-card').click();
    await look('card');
    kiosk.call('SetCreditRes', '1');
    await kiosk.next('MakeTicket');
    kiosk.call('MakeTicketRes', '0||1');
    await look('issuing');
    kiosk.call('MakeTicketRes', '1||0');
    await expectVisible(byTestId('screen-result'));
    await look('sold');
    kiosk.showMessageBox('안내', '오늘 밤 10시부터 점검이 있습니다.');
    await expectVisible(byTestId('message-box'));
    await look('message box');
    await byTestId('message-box-ok').click();
    kiosk.call('UseKiosk', '0');
    await byTestId('result-ok').click();
    await expectVisible(byTestId('overlay-out-of-service'));
    await look('out of service');
    kiosk.call('UseKiosk', '1');

    const failing = Object.fromEntries(Object.entries(seen).filter(([, failures]) => failures.length > 0));
    assert.deepEqual(failing, {});
  });

  test('Korean breaks between words, with the fonts the page brings', async () => {
    assert.equal(await page.evaluate(() => getComputedStyle(document.body).wordBreak), 'keep-all');
    const fonts = await page.evaluate(async () => {
      await document.fonts.ready;
      return [...document.fonts].filter((font) => font.status === 'loaded').map((font) => `${font.family} ${font.weight}`);
    });
    assert.deepEqual(fonts.sort(), ['HxSquare 400', 'HxSquare 700 900']);
    assert.match(await page.evaluate(() => getComputedStyle(document.body).fontFamily), /^"?HxSquare"?,/);
  });

  test('a keyboard alone chooses a room and a stay, and sees where it is', async () => {
    const card = fixture.roomCard(201);
    await card.focus();
    assert.match(await card.evaluate((element) => getComputedStyle(element).outlineStyle), /solid/);
    await page.keyboard.press('Enter');
    assert.equal(await kiosk.next('SelectRoom'), '스탠다드||201||201호');
    await byTestId('stay-rental').focus();
    await page.keyboard.press('Enter');
    assert.equal(await kiosk.next('SelectCheckInType'), '대실||201');
    // Sold rooms are left out of the keyboard's way.
    assert.equal(await fixture.roomCard(204).getAttribute('tabindex'), '-1');
  });
});
