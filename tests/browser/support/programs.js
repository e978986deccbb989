// The real programs as child processes: the front-desk server with control
// commands on its standard input, and the kiosk on a drive folder of its
// own. Children are ended when the test ends, however it ends.

import { spawn, spawnSync } from 'node:child_process';
import { mkdir, readdir, readFile, symlink } from 'node:fs/promises';
import path from 'node:path';
import { eventually } from './eventually.js';

const STOP_GRACE_MS = 15000;
const running = new Set();

for (const signal of ['SIGINT', 'SIGTERM']) {
  process.on(signal, () => process.exit(1));
}
process.on('exit', () => {
  for (const child of running) {
    child.kill('SIGKILL');
  }
});

export function programPath(variable) {
  const program = process.env[variable];
  if (!program) {
    throw new Error(`${variable} must name the program to test`);
  }
  return program;
}

export class CProgram {
  constructor(program, args) {
    this.m_child = spawn(program, args, { stdio: ['pipe', 'pipe', 'pipe'] });
    this.output = '';
    this.m_ended = new Promise((resolve) => this.m_child.once('exit', (code, signal) => resolve({ code, signal })));
    running.add(this.m_child);
    this.m_ended.then(() => running.delete(this.m_child));
    for (const stream of [this.m_child.stdout, this.m_child.stderr]) {
      stream.setEncoding('utf8');
      stream.on('data', (text) => {
        this.output += text;
      });
    }
  }

  writeLine(line) {
    this.m_child.stdin.write(`${line}\n`);
  }

  async waitForOutput(pattern) {
    return eventually(() => {
      const match = this.output.match(pattern);
      if (!match) {
        throw new Error(`no ${pattern} in the output of ${this.m_child.spawnfile}:\n${this.output}`);
      }
      return match;
    });
  }

  // SIGTERM, then SIGKILL if it does not end in time; how it ended.
  async stop() {
    if (this.m_child.exitCode === null && this.m_child.signalCode === null) {
      this.m_child.kill('SIGTERM');
    }
    const late = setTimeout(() => this.m_child.kill('SIGKILL'), STOP_GRACE_MS);
    const ended = await this.m_ended;
    clearTimeout(late);
    return ended;
  }
}

// The kiosk opens its control board as COM3; without a board of the test's
// own it gets a link that leads nowhere, never a real serial device.
export async function linkNoBoard(drive) {
  const folder = path.join(drive, 'dosdevices');
  await mkdir(folder, { recursive: true });
  await symlink(path.join(drive, 'no-board'), path.join(folder, 'com3')).catch((error) => {
    if (error.code !== 'EEXIST') {
      throw error;
    }
  });
}

// The kiosk's server address, as an installer writes it into the settings store.
export function setServerAddress(drive, address) {
  const result = spawnSync(
    programPath('HX_HXREG_PROGRAM'),
    ['--drive', drive, 'add', 'HKLM\\SOFTWARE\\Norvane\\HxKiosk\\TCP/IP', '/v', 'Server', '/d', address, '/f'],
    { encoding: 'utf8' },
  );
  if (result.status !== 0) {
    throw new Error(`hxreg failed: ${result.stdout}${result.stderr}`);
  }
}

// The screen port a kiosk started with --ui-port 0 took, from its daily log.
export async function kioskScreenPort(drive) {
  const folder = path.join(drive, 'Harlix', 'LogFiles');
  return eventually(async () => {
    const logs = (await readdir(folder)).filter((name) => name.startsWith('HXKioskLog-'));
    for (const log of logs) {
      // The log is in code page 949, which the decoder knows as EUC-KR.
      const text = new TextDecoder('euc-kr').decode(await readFile(path.join(folder, log)));
      const match = text.match(/화면 서버: 대기 시작: 127\.0\.0\.1:(\d+)/);
      if (match) {
        return Number(match[1]);
      }
    }
    throw new Error(`the kiosk did not log its screen port in ${folder}`);
  });
}
