// The sample motel of the front-desk server's scenario, seen as the kiosk
// shows it: the rooms it puts on the screen with their class names and the
// day-use duration texts it builds.

import { readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

export const REPO_ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../../..');
export const WEB_ROOT = path.join(REPO_ROOT, 'web');
export const SAMPLE_SCENARIO = path.join(REPO_ROOT, 'tools/frontdesk/scenarios/sample.json');
export const SAMPLE_PICTURES = path.join(REPO_ROOT, 'tools/frontdesk/scenarios/sample-pictures');

// 35000 -> "35,000원", as the page writes prices and money.
export function wonText(amount) {
  return `${String(amount).replace(/\B(?=(\d{3})+(?!\d))/g, ',')}원`;
}

// "0300" -> "3시간", "0130" -> "1시간 30분"; other lengths give the hours only.
export function durationText(hhmm) {
  const hours = Number.parseInt(hhmm.slice(0, 2), 10) || 0;
  const minutes = Number.parseInt(hhmm.slice(2, 4), 10) || 0;
  return hhmm.length === 4 && minutes !== 0 ? `${hours}시간 ${minutes}분` : `${hours}시간`;
}

// Rooms as roomLine takes them: never those with display mode 3, and only
// rooms for sale unless the scenario shows all rooms.
export function shownRooms(scenario) {
  const classNames = new Map(scenario.classes.map((entry) => [entry.classId, entry.name]));
  const showAll = (scenario.configuration?.showAllRooms ?? 1) !== 0;
  return scenario.rooms
    .filter((room) => room.displayMode !== 3 && (showAll || room.state === 0))
    .map((room) => ({
      className: classNames.get(room.classId) ?? '',
      roomNo: room.roomNo,
      name: room.name,
      rentalPrice: room.firstPrice,
      sleepPrice: room.secondPrice,
      duration: durationText(room.rentalDuration),
      state: room.state,
      displayMode: room.displayMode,
    }));
}

export function readScenario(file = SAMPLE_SCENARIO) {
  return JSON.parse(readFileSync(file, 'utf8'));
}
