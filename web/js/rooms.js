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
    // A Map keeps the order of insertion, and replacing a value keeps its place.
    this.m_rooms = new Map();
  }

  clear() {
    this.m_rooms.clear();
  }

  // A known room is replaced where it stands; a new one goes to the end.
  put(room) {
    this.m_rooms.set(room.roomNo, room);
  }

  remove(roomNo) {
    this.m_rooms.delete(roomNo);
  }

  find(roomNo) {
    return this.m_rooms.get(roomNo) ?? null;
  }

  // [{className, rooms}] in the order the classes first appear; in each
  // class the rooms for sale come first, the others after them, each in
  // the kiosk's order.
  groupsByClass() {
    const groups = new Map();
    for (const room of this.m_rooms.values()) {
      if (!groups.has(room.className)) {
        groups.set(room.className, { forSale: [], other: [] });
      }
      const group = groups.get(room.className);
      (isForSale(room) ? group.forSale : group.other).push(room);
    }
    return [...groups].map(([className, { forSale, other }]) => ({ className, rooms: [...forSale, ...other] }));
  }

  get size() {
    return this.m_rooms.size;
  }
}
