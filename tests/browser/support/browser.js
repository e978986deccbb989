// Headless Chromium from the system, one fresh profile per launch, with a
// page the size of the kiosk's portrait screen.

import { mkdir, mkdtemp, rm } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';

const ARTEFACTS = process.env.HX_TEST_ARTEFACTS ?? path.join(os.tmpdir(), 'hx-test-artefacts');
const CHROMIUM = process.env.HX_CHROMIUM ?? '/usr/bin/chromium';
const FLAGS = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--autoplay-policy=no-user-gesture-required',
];

// {page, errors, close}; errors collects the page's uncaught exceptions.
// prepare(page) runs before the page loads.
export async function openKioskScreen(url, { prepare = async () => {} } = {}) {
  const profile = await mkdtemp(path.join(os.tmpdir(), 'hx-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    args: FLAGS,
    viewport: { width: 1080, height: 1920 },
    locale: 'ko-KR',
    timezoneId: 'Asia/Seoul',
  });
  const page = context.pages()[0] ?? (await context.newPage());
  const errors = [];
  page.on('pageerror', (error) => errors.push(error));
  await prepare(page);
  await page.goto(url);
  return {
    page,
    errors,
    async close() {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}

// The page once its fonts are loaded and its transitions have ended, kept
// as ARTEFACTS/NAME.png for whoever looks into a test run.
export async function saveScreenshot(page, name) {
  await mkdir(ARTEFACTS, { recursive: true });
  await page.evaluate(async () => {
    await document.fonts.ready;
    const ending = document
      .getAnimations()
      .filter((animation) => animation.effect?.getComputedTiming().endTime !== Infinity);
    await Promise.all(ending.map((animation) => animation.finished.catch(() => {})));
  });
  await page.screenshot({ path: path.join(ARTEFACTS, `${name}.png`) });
}
