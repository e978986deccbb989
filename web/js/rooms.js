// The rooms the kiosk offers, one line of 29 values each: class name, room
// number, room name, day-use price, overnight price, day-use duration text,
// room state, twenty-one picture paths and the display mode.

import { splitValues } from './values.js';

const LINE_VALUES = 29;
const FIRST_PICTURE = 7;
const PICTURE_COUNT = 21;

// The room of one line, or null when the line is not a room.
export function parseRoomLine(text) {
  const values = splitValues(text);
  if (values.length < LINE_VALUES) {
    console.warn(`room line with ${values.length} values ignored`, text);
    return null;
  }
  const roomNo = Number.parseInt(values[1], 10);
  if (!Number.isFinite(roomNo)) {
    console.warn('room line without a room number ignored', text);
    return null;
  }
  return {
    className: values[0],
    roomNo,
    name: values[2],
    rentalPrice: Number.parseInt(values[3], 10) || 0,
    sleepPrice: Number.parseInt(values[4], 10) || 0,
    rentalDuration: values[5],
    state: Number.parseInt(values[6], 10) || 0,
    pictures: values.slice(FIRST_PICTURE, FIRST_PICTURE + PICTURE_COUNT),
    displayMode: values[LINE_VALUES - 1],
  };
}

export function isForSale(room) {
  return room.state === 0;
}

// Rooms in the kiosk's order, one per room number.
export class CRoomList {
  constructor() {
    this.m_rooms = [];
  }

  clear() {
    this.m_rooms = [];
  }

  // A known room is replaced where it stands; a new one goes to the end.
  put(room) {
    const at = this.m_rooms.findIndex((known) => known.roomNo === room.roomNo);
    if (at < 0) {
      this.m_rooms.push(room);
    } else {
      this.m_rooms[at] = room;
    }
  }

  remove(roomNo) {
    this.m_rooms = this.m_rooms.filter((room) => room.roomNo !== roomNo);
  }

  find(roomNo) {
    return this.m_rooms.find((room) => room.roomNo === roomNo) ?? null;
  }

  // [{className, rooms}] in the order the classes first appear.
  groupsByClass() {
    const groups = new Map();
    for (const room of this.m_rooms) {
      if (!groups.has(room.className)) {
        groups.set(room.className, []);
      }
      groups.get(room.className).push(room);
    }
    return [...groups].map(([className, rooms]) => ({ className, rooms }));
  }

  get size() {
    return this.m_rooms.length;
  }
}
