// ReceiveScript: every call the kiosk makes into the page, by name.

import { refreshPictures } from './pictures.js';
import { parseRoomLine } from './rooms.js';
import { splitValues } from './values.js';

export function createReceiveScript({ bridge, settings, rooms, home, flow, progress, overlays, chime }) {
  const settingsChanged = () => {
    home.render();
    flow.refresh();
  };
  const roomsChanged = () => {
    home.listArrived();
    flow.refresh();
  };
  const putRoom = (line) => {
    const room = parseRoomLine(line);
    if (room !== null) {
      rooms.put(room);
    }
    return room !== null;
  };

  const calls = {
    InitKiosk(args) {
      settings.applyInitAnswer(args);
      settingsChanged();
      bridge.send('SetRoomData');
    },
    UseKiosk(args) {
      settings.setInService(args);
      flow.applyService();
      overlays.setOutOfService(!settings.inService && flow.atHome);
    },
    EnablePayType(args) {
      settings.setPayTypes(args);
      settingsChanged();
    },
    EnableSound(args) {
      settings.setSound(args);
    },
    EnableSaleType(args) {
      settings.setSaleTypes(args);
      settingsChanged();
    },
    InitRoomData() {
      rooms.clear();
      home.renderSoon();
    },
    SetRoomData(args) {
      putRoom(args);
    },
    EndSetRoomData: roomsChanged,
    UpdateRoomData(args) {
      if (putRoom(args)) {
        roomsChanged();
      }
    },
    // "class||room"
    DeleteRoomData(args) {
      rooms.remove(Number.parseInt(splitValues(args)[1], 10));
      roomsChanged();
    },
    PopupLoading() {
      overlays.setLoading(true);
    },
    ClearLoading() {
      overlays.setLoading(false);
      refreshPictures();
    },
    StartProgress() {
      progress.start();
    },
    StopProgress() {
      progress.stop();
    },
    GoHome() {
      flow.onGoHome();
    },
    SetRecvMoney(args) {
      flow.onRecvMoney(args);
    },
    ReturnRecvMoneyRes(args) {
      flow.onReturnRecvMoneyRes(args);
    },
    MakeTicketRes(args) {
      flow.onMakeTicketRes(args);
    },
    SetCreditRes(args) {
      flow.onCreditRes(args);
    },
    SetFallback() {
      flow.onFallback();
    },
    PopupError() {
      overlays.showError(flow.onSalesStopped());
    },
    ClearError() {
      overlays.hideError();
    },
    PlaySndWelcome() {
      if (settings.soundOn) {
        chime.play();
      }
    },
  };

  return function ReceiveScript(command, args) {
    if (!Object.hasOwn(calls, command)) {
      console.warn(`unknown kiosk call ${command}`, args);
      return;
    }
    calls[command](args);
  };
}
