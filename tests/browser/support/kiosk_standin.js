// A scripted stand-in for the kiosk's side of the customer screen: it serves
// the page, the room pictures and the operator's screen settings over HTTP
// on loopback, and speaks the kiosk's WebSocket frames at /ws. It records every command the page sends,
// answers InitKiosk and SetRoomData as the kiosk does, and lets a test make
// any call into the page. Like the kiosk, it drops calls to a page that has
// not sent InitKiosk yet.

import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import { WebSocketServer } from 'ws';

const CONTENT_TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.ttf': 'font/ttf',
};
const PICTURE_PREFIX = '/skin/RoomImage/';
const SCREEN_SETTINGS_PATH = '/screen-settings.json';
const WAIT_MS = 30000;

// The request string the kiosk sends for one call: an argument text ending
// in "|" loses its last two characters, and every "<" becomes "&clamp".
export function buildInvokeRequest(command, args) {
  const trimmed = args.endsWith('|') ? args.slice(0, -2) : args;
  return (
    '<invoke name="ReceiveScript" returntype="xml"><arguments><string>' +
    `${command};${trimmed.replaceAll('<', '&clamp')}` +
    '</string></arguments></invoke>'
  );
}

// Every command the movie sends the kiosk; the page must send no other.
export const MOVIE_COMMANDS = new Set([
  'InitKiosk', 'SetHome', 'SetRoomData', 'SelectRoom', 'SelectCheckInType', 'SetPay', 'MakeTicket',
  'ReturnRecvMoney', 'PopupConfig', 'TouchScreen',
]);

const PICTURE_SUFFIXES = [
  ...Array.from({ length: 10 }, (_, i) => `${i}.png`),
  ...Array.from({ length: 10 }, (_, i) => `${i}_1.png`),
  '0_2.png',
];

// One room as the kiosk sends it: 29 values, each followed by "||"; its
// pictures are those of room `picturesOf`, its own by default.
export function roomLine({
  className = '스탠다드',
  roomNo,
  name = `${roomNo}호`,
  rentalPrice = 30000,
  sleepPrice = 50000,
  duration = '3시간',
  state = 0,
  displayMode = 0,
  picturesOf = roomNo,
}) {
  const pictures = PICTURE_SUFFIXES.map((suffix) => `c:\\Harlix\\Skin\\RoomImage\\${picturesOf}_${suffix}`);
  const values = [className, roomNo, name, rentalPrice, sleepPrice, duration, state, ...pictures, displayMode];
  return values.map((value) => `${value}||`).join('');
}

export class CKioskStandIn {
  // rooms: room descriptions for roomLine; initAnswer: the InitKiosk answer;
  // screenSettings: what the operator set (served as the kiosk does; {}
  // when nothing is set).
  constructor({ webRoot, pictureFolder, rooms = [], initAnswer = 'All||1||All', screenSettings = {} }) {
    this.m_webRoot = path.resolve(webRoot);
    this.m_pictureFolder = path.resolve(pictureFolder);
    this.rooms = rooms;
    this.initAnswer = initAnswer;
    this.screenSettings = screenSettings;
    this.commands = [];
    this.m_taken = new Set();
    this.m_waiters = new Set();
    this.m_readyPages = new Set();
    this.m_server = null;
    this.m_sockets = null;
    this.port = 0;
  }

  async start(port = this.port) {
    this.m_sockets = new WebSocketServer({ noServer: true });
    this.m_server = http.createServer((request, response) => this.serveFile(request, response));
    this.m_server.on('upgrade', (request, socket, head) => {
      if (new URL(request.url, 'http://x').pathname !== '/ws') {
        socket.destroy();
        return;
      }
      this.m_sockets.handleUpgrade(request, socket, head, (page) => this.addPage(page));
    });
    await new Promise((resolve, reject) => {
      this.m_server.once('error', reject);
      this.m_server.listen(port, '127.0.0.1', resolve);
    });
    this.port = this.m_server.address().port;
  }

  get url() {
    return `http://127.0.0.1:${this.port}/`;
  }

  // Ends every page's line and the server, as a kiosk that quits does.
  async stop() {
    for (const page of this.m_sockets.clients) {
      page.terminate();
    }
    this.m_readyPages.clear();
    this.m_sockets.close();
    this.m_server.closeAllConnections();
    await new Promise((resolve) => this.m_server.close(resolve));
  }

  // Calls ReceiveScript in every page that is ready; how many it reached.
  call(command, args = '') {
    const frame = JSON.stringify({ invoke: buildInvokeRequest(command, args) });
    for (const page of this.m_readyPages) {
      page.send(frame);
    }
    return this.m_readyPages.size;
  }

  // Shows a message box on every connected page (ready or not, as the kiosk does).
  showMessageBox(caption, text) {
    const frame = JSON.stringify({ messageBox: { caption, text } });
    for (const page of this.m_sockets.clients) {
      page.send(frame);
    }
  }

  get readyPages() {
    return this.m_readyPages.size;
  }

  // The argument text of the first command of that name not taken before.
  async next(command, timeoutMs = WAIT_MS) {
    const found = await this.waitFor(
      () => this.commands.findIndex((sent, index) => sent.command === command && !this.m_taken.has(index)),
      `${command} from the page`,
      timeoutMs,
    );
    this.m_taken.add(found);
    return this.commands[found].args;
  }

  // Everything sent so far counts as taken; the position to read `since` from.
  mark() {
    this.commands.forEach((_, index) => this.m_taken.add(index));
    return this.commands.length;
  }

  // "Command args" of whatever the page sent that the movie never sends.
  commandsOutsideTheMovie() {
    return this.since(0).filter((line) => !MOVIE_COMMANDS.has(line.split(' ')[0]));
  }

  count(command, from = 0) {
    return this.commands.slice(from).filter((sent) => sent.command === command).length;
  }

  // "Command args" of everything sent from position `from` on.
  since(from) {
    return this.commands.slice(from).map((sent) => `${sent.command} ${sent.args}`.trimEnd());
  }

  // Resolves with what `probe` returned once it is not -1.
  waitFor(probe, what, timeoutMs = WAIT_MS) {
    return new Promise((resolve, reject) => {
      const waiter = () => {
        const found = probe();
        if (found !== -1) {
          this.m_waiters.delete(waiter);
          clearTimeout(timer);
          resolve(found);
        }
      };
      const timer = setTimeout(() => {
        this.m_waiters.delete(waiter);
        reject(new Error(`waited in vain for ${what}; the page sent: ${JSON.stringify(this.since(0))}`));
      }, timeoutMs);
      this.m_waiters.add(waiter);
      waiter();
    });
  }

  addPage(page) {
    page.on('message', (data) => this.receive(page, data.toString()));
    page.on('close', () => this.m_readyPages.delete(page));
  }

  receive(page, text) {
    const frame = JSON.parse(text);
    const sent = { command: frame.fscommand, args: frame.args ?? '' };
    this.commands.push(sent);
    if (sent.command === 'InitKiosk') {
      this.m_readyPages.add(page);
      this.call('InitKiosk', this.initAnswer);
    } else if (sent.command === 'SetRoomData') {
      for (const room of this.rooms) {
        this.call('SetRoomData', roomLine(room));
      }
      this.call('EndSetRoomData');
    }
    for (const waiter of [...this.m_waiters]) {
      waiter();
    }
  }

  async serveFile(request, response) {
    const pathname = new URL(request.url, 'http://x').pathname;
    if (pathname === SCREEN_SETTINGS_PATH) {
      response.writeHead(200, { 'Content-Type': 'application/json; charset=utf-8' });
      response.end(JSON.stringify(this.screenSettings));
      return;
    }
    const file = this.fileFor(pathname);
    const found = file !== null && (await stat(file).catch(() => null))?.isFile();
    if (!found) {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('Not Found');
      return;
    }
    response.writeHead(200, { 'Content-Type': CONTENT_TYPES[path.extname(file)] ?? 'application/octet-stream' });
    createReadStream(file).pipe(response);
  }

  // Only files inside the two folders are served.
  fileFor(pathname) {
    const [root, relative] = pathname.startsWith(PICTURE_PREFIX)
      ? [this.m_pictureFolder, pathname.slice(PICTURE_PREFIX.length)]
      : [this.m_webRoot, pathname === '/' ? 'index.html' : pathname.slice(1)];
    const file = path.resolve(root, decodeURIComponent(relative));
    return file.startsWith(root + path.sep) ? file : null;
  }
}
