// The real programs as child processes: the front-desk server and the
// device simulators with console commands on their standard input, and the
// kiosk on a drive folder of its own. Children are ended when the test ends,
// however it ends.

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

// The first lines of console replies: "ok …" or "error: …" (further lines
// of a reply are indented).
function consoleReplies(output) {
  return output.split('\n').filter((line) => line.startsWith('ok') || line.startsWith('error'));
}

export class CProgram {
  constructor(program, args) {
    this.m_child = spawn(program, args, { stdio: ['pipe', 'pipe', 'pipe'] });
    // A line written to a program that has ended is lost; its output and
    // how it ended tell the test why.
    this.m_child.stdin.on('error', () => {});
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

  // Sends a console command; the first line of its reply.
  async command(line) {
    const before = consoleReplies(this.output).length;
    this.writeLine(line);
    return eventually(() => {
      const reply = consoleReplies(this.output)[before];
      if (reply === undefined) {
        throw new Error(`no reply to "${line}" from ${this.m_child.spawnfile}:\n${this.output}`);
      }
      return reply;
    });
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

// The entries of one event in a journal of JSON lines (none while the file
// is missing); a line still being written is left for the next read.
export async function journalEvents(file, name) {
  const text = await readFile(file, 'utf8').catch(() => '');
  return text
    .split('\n')
    .slice(0, -1)
    .map((line) => JSON.parse(line))
    .filter((entry) => entry.event === name);
}

// A device simulator on a pseudo-terminal it links where the kiosk looks
// for the device (DRIVE/dosdevices/comN), with a journal of JSON lines.
export class CDeviceSimulator extends CProgram {
  constructor(program, { link, journal, options = [] }) {
    super(program, ['--link', link, '--journal', journal, ...options]);
    this.m_journal = journal;
  }

  // The slave device's path is printed once every link leads to it.
  async waitUntilLinked() {
    await this.waitForOutput(/^\/dev\/\S+$/m);
  }

  // This simulator's journal entries of one event, oldest first.
  async events(name) {
    return journalEvents(this.m_journal, name);
  }

  // The first entry of one event that `matches`, once there is one.
  async waitForEvent(name, matches = () => true) {
    return eventually(async () => {
      const found = (await this.events(name)).find(matches);
      if (found === undefined) {
        throw new Error(`no such "${name}" in ${this.m_journal}`);
      }
      return found;
    });
  }
}

// The kiosk opens its control board (and by default its dispenser) as COM3
// and its receipt printer as COM0: ports the test gives no device of its own
// get links that lead nowhere, never to a real serial device.
async function linkNoDevices(drive) {
  const folder = path.join(drive, 'dosdevices');
  await mkdir(folder, { recursive: true });
  for (const port of ['com0', 'com3']) {
    await symlink(path.join(drive, `no-${port}`), path.join(folder, port)).catch((error) => {
      if (error.code !== 'EEXIST') {
        throw error;
      }
    });
  }
}

// The kiosk on `drive`. Nothing listens on port 1 of the loopback: it never
// talks to a card terminal program the machine may run (the demo's).
export async function startKiosk(drive, uiPort = 0) {
  await linkNoDevices(drive);
  return new CProgram(programPath('HX_KIOSK_PROGRAM'), [
    '--drive', drive,
    '--ui-port', String(uiPort),
    '--card-terminal-port', '1',
  ]);
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

// The first match of `pattern` in the kiosk's daily logs, once there is one.
export async function waitForKioskLog(drive, pattern) {
  const folder = path.join(drive, 'Harlix', 'LogFiles');
  return eventually(async () => {
    const logs = (await readdir(folder)).filter((name) => name.startsWith('HXKioskLog-'));
    for (const log of logs) {
      // The log is in code page 949, which the decoder knows as EUC-KR.
      const match = new TextDecoder('euc-kr').decode(await readFile(path.join(folder, log))).match(pattern);
      if (match) {
        return match;
      }
    }
    throw new Error(`no ${pattern} in the kiosk's logs in ${folder}`);
  });
}

// The screen port a kiosk started with --ui-port 0 took, from its daily log.
export async function kioskScreenPort(drive) {
  const match = await waitForKioskLog(drive, /화면 서버: 대기 시작: 127\.0\.0\.1:(\d+)/);
  return Number(match[1]);
}
