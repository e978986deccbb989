// The kiosk as it stands in a motel, every part a real program: our
// front-desk server with the sample motel, and the kiosk pointed at it on a
// drive folder of its own; with devices, also the control board on COM3,
// the key card dispenser on COM4 and the receipt printer on COM0, and a
// float to pay change from. stop() ends whatever was started and removes
// the drive folder, also after a start that failed half-way.

import assert from 'node:assert/strict';
import { mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { after, before } from 'node:test';
import { openKioskScreen } from './browser.js';
import {
  CDeviceSimulator, CProgram, journalEvents, kioskScreenPort, programPath, setServerAddress, startKiosk,
  waitForKioskLog,
} from './programs.js';
import { SAMPLE_SCENARIO } from './sample_motel.js';

// 100 notes of each kind and 100 key cards, as SaveMoney.ini counts them.
export const FLOAT = Object.freeze({ 1000: 100, 5000: 100, 10000: 100, RFCard: 100 });

function iniText(section, values) {
  return [`[${section}]`, ...Object.entries(values).map(([key, value]) => `${key}=${value}`), ''].join('\r\n');
}

// The whole numbers of one section of an INI file.
function iniNumbers(text, section) {
  const numbers = {};
  let inSection = false;
  for (const line of text.split(/\r?\n/)) {
    const header = line.match(/^\[(.*)\]$/);
    if (header) {
      inSection = header[1].toLowerCase() === section.toLowerCase();
    } else if (inSection && line.includes('=')) {
      const [key, value] = line.split('=');
      numbers[key] = Number(value);
    }
  }
  return numbers;
}

export class CKioskSite {
  // name: the drive folder's prefix; deskAddress: a loopback address of the
  // test's own, as the kiosk always connects to port 12001.
  constructor({ name, deskAddress, devices = false }) {
    this.m_name = name;
    this.m_deskAddress = deskAddress;
    this.m_devices = devices;
    this.m_simulators = [];
    this.drive = null;
    this.desk = null;
    this.kiosk = null;
    this.board = null;
    this.dispenser = null;
    this.printer = null;
    this.screenPort = 0;
  }

  get screenUrl() {
    return `http://127.0.0.1:${this.screenPort}/`;
  }

  async start() {
    this.drive = await mkdtemp(path.join(os.tmpdir(), `hx-${this.m_name}-`));
    await mkdir(path.join(this.drive, 'desk'));
    setServerAddress(this.drive, this.m_deskAddress);
    this.desk = new CProgram(programPath('HX_FRONTDESK_PROGRAM'), [
      '--scenario', SAMPLE_SCENARIO,
      '--data', path.join(this.drive, 'desk'),
      '--listen', `${this.m_deskAddress}:12001`,
    ]);
    await this.desk.waitForOutput(/listening on/);
    if (this.m_devices) {
      await this.startDevices();
    }
    await this.startKiosk();
  }

  // The kiosk (again, on the same drive); port 0 takes any free one.
  async startKiosk(uiPort = 0) {
    this.kiosk = await startKiosk(this.drive, uiPort);
    this.screenPort = uiPort === 0 ? await kioskScreenPort(this.drive) : uiPort;
  }

  // How the kiosk ended.
  async stopKiosk() {
    const ended = await this.kiosk.stop();
    this.kiosk = null;
    return ended;
  }

  // The kiosk first, so that it never sees a device go; how it ended, or
  // undefined when no kiosk ran.
  async stop() {
    const kioskEnd = await this.kiosk?.stop();
    for (const simulator of this.m_simulators) {
      await simulator.stop();
    }
    await this.desk?.stop();
    if (this.drive) {
      await rm(this.drive, { recursive: true, force: true });
    }
    return kioskEnd;
  }

  // The float counts the kiosk keeps in SaveMoney.ini.
  async floatCounts() {
    return iniNumbers(await readFile(path.join(this.drive, 'Harlix', 'INI', 'SaveMoney.ini'), 'latin1'), 'Money');
  }

  async waitForKioskLog(pattern) {
    return waitForKioskLog(this.drive, pattern);
  }

  // The desk's journal entries of packets it received with that command.
  async deskReceived(command) {
    const received = await journalEvents(path.join(this.drive, 'desk', 'journal.jsonl'), 'received');
    return received.filter((entry) => entry.command === command);
  }

  async startDevices() {
    const ini = path.join(this.drive, 'Harlix', 'INI');
    await mkdir(ini, { recursive: true });
    await writeFile(path.join(ini, 'SaveMoney.ini'), iniText('Money', FLOAT));
    await writeFile(path.join(ini, 'HXKiosk.ini'), iniText('Dispenser', { port: 'COM4' }));
    // The sample motel's bill dispensers hold 1,000 and 10,000-won notes.
    this.board = await this.startSimulator('HX_BOARDSIM_PROGRAM', 'boardsim', 'com3', [
      '--dispenser1', '1000:100', '--dispenser2', '10000:100',
    ]);
    this.dispenser = await this.startSimulator('HX_DISPSIM_PROGRAM', 'dispsim', 'com4');
    this.printer = await this.startSimulator('HX_PRNSIM_PROGRAM', 'prnsim', 'com0');
    for (const simulator of this.m_simulators) {
      await simulator.waitUntilLinked();
    }
  }

  // Its journal (and the printer's documents) in DRIVE/NAME.
  async startSimulator(variable, name, port, options = []) {
    const folder = path.join(this.drive, name);
    await mkdir(folder, { recursive: true });
    await mkdir(path.join(this.drive, 'dosdevices'), { recursive: true });
    const simulator = new CDeviceSimulator(programPath(variable), {
      link: path.join(this.drive, 'dosdevices', port),
      journal: path.join(folder, 'journal.jsonl'),
      options,
    });
    this.m_simulators.push(simulator);
    return simulator;
  }
}

// The hooks of a test file on one site with Chromium on its kiosk's screen:
// both start before the tests and end after them, however they went. The
// page must have thrown nothing, and the kiosk must end on its own at the
// stop request. Returns {site, screen}; screen is set once started.
export function useKioskSite(options) {
  const fixture = { site: new CKioskSite(options), screen: null };
  before(async () => {
    await fixture.site.start();
    fixture.screen = await openKioskScreen(fixture.site.screenUrl);
  });
  after(async () => {
    const pageErrors = fixture.screen?.errors ?? [];
    await fixture.screen?.close();
    const output = fixture.site.kiosk?.output;
    const kioskEnd = await fixture.site.stop();
    assert.deepEqual(pageErrors, []);
    if (kioskEnd) {
      assert.deepEqual(kioskEnd, { code: 0, signal: null }, output);
    }
  });
  return fixture;
}
