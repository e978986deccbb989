// Waiting for what the page shows: checks are retried until they pass or a
// generous time runs out, so the tests do not depend on the machine's speed.

import assert from 'node:assert/strict';

const PATIENCE_MS = 30000;

export async function eventually(check, timeoutMs = PATIENCE_MS) {
  const deadline = Date.now() + timeoutMs;
  for (;;) {
    try {
      return await check();
    } catch (error) {
      if (Date.now() > deadline) {
        throw error;
      }
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

export async function expectText(locator, expected) {
  await eventually(async () => assert.equal((await locator.innerText({ timeout: 1000 })).trim(), expected));
}

export async function expectVisible(locator, visible = true) {
  await eventually(async () => assert.equal(await locator.isVisible(), visible, `${locator} visible`));
}
