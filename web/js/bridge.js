// The line to the kiosk program: one WebSocket on the page's own host.
// The page sends {"fscommand": NAME, "args": TEXT}; the kiosk calls the
// page's ReceiveScript with {"invoke": REQUEST}, the request being the
// external-interface XML the kiosk built, and shows its message boxes with
// {"messageBox": {"caption": CAPTION, "text": TEXT}}. When the kiosk goes away (it is
// restarted, or the machine is busy) the page keeps trying, waiting a little
// longer after each failure.

const INVOKE_START = '<invoke name="ReceiveScript" returntype="xml"><arguments><string>';
const INVOKE_END = '</string></arguments></invoke>';
// The kiosk writes every "<" of an argument text as this, so that the XML
// stays well-formed; nothing else is escaped.
const ESCAPED_LESS_THAN = '&clamp';

const FIRST_RETRY_MS = 250;
const LONGEST_RETRY_MS = 5000;

// {command, args} of one request, or null when it is not a ReceiveScript call.
export function decodeInvoke(request) {
  if (typeof request !== 'string' || !request.startsWith(INVOKE_START) || !request.endsWith(INVOKE_END)) {
    return null;
  }
  const script = request.slice(INVOKE_START.length, request.length - INVOKE_END.length);
  const split = script.indexOf(';');
  const command = split < 0 ? script : script.slice(0, split);
  const args = split < 0 ? '' : script.slice(split + 1);
  return { command, args: args.replaceAll(ESCAPED_LESS_THAN, '<') };
}

export class CKioskBridge {
  // onCall(command, args) for each kiosk call; onMessageBox(caption, text)
  // for each message box; onConnected() after every (re)connect;
  // onDisconnected() when the line drops.
  constructor(url, { onCall, onMessageBox, onConnected, onDisconnected }) {
    this.m_url = url;
    this.m_onCall = onCall;
    this.m_onMessageBox = onMessageBox;
    this.m_onConnected = onConnected;
    this.m_onDisconnected = onDisconnected;
    this.m_socket = null;
    this.m_retryMs = FIRST_RETRY_MS;
  }

  start() {
    const socket = new WebSocket(this.m_url);
    this.m_socket = socket;
    socket.addEventListener('open', () => {
      this.m_retryMs = FIRST_RETRY_MS;
      this.m_onConnected();
    });
    socket.addEventListener('message', (event) => this.receive(event.data));
    socket.addEventListener('close', () => {
      this.m_socket = null;
      this.m_onDisconnected();
      setTimeout(() => this.start(), this.m_retryMs);
      this.m_retryMs = Math.min(this.m_retryMs * 2, LONGEST_RETRY_MS);
    });
  }

  // False when there is no line; the kiosk has no use for a late command.
  send(command, args = '') {
    if (this.m_socket === null || this.m_socket.readyState !== WebSocket.OPEN) {
      console.warn(`not connected; ${command} dropped`);
      return false;
    }
    this.m_socket.send(JSON.stringify({ fscommand: command, args }));
    return true;
  }

  receive(data) {
    let frame;
    try {
      frame = JSON.parse(data);
    } catch {
      console.warn('kiosk frame is not JSON', data);
      return;
    }
    const box = frame?.messageBox;
    if (typeof box?.caption === 'string' && typeof box?.text === 'string') {
      this.m_onMessageBox(box.caption, box.text);
      return;
    }
    const call = decodeInvoke(frame?.invoke);
    if (call === null) {
      console.warn('kiosk frame neither a ReceiveScript call nor a message box', data);
      return;
    }
    this.m_onCall(call.command, call.args);
  }
}
