// The chosen room: its pictures and the stays on sale now, day use ("대실")
// with its duration and overnight ("숙박"), each with its price and the time
// it ends if bought now.

import { formatWon } from '../format.js';
import { createPicture } from '../pictures.js';
import { checkoutText, rentalUntilText, sleepEnd } from '../stay_times.js';

// Pictures N_0 to N_9 are the room's gallery; the later ones are not shown here.
const GALLERY_SIZE = 10;

export class CStayScreen {
  constructor(element, { settings, screenSettings, onStay }) {
    this.m_settings = settings;
    this.m_screenSettings = screenSettings;
    this.m_hero = element.querySelector('[data-testid="stay-picture"]');
    this.m_thumbs = element.querySelector('[data-testid="stay-thumbs"]');
    this.m_class = element.querySelector('[data-testid="stay-class"]');
    this.m_name = element.querySelector('[data-testid="stay-room-name"]');
    this.m_rental = element.querySelector('[data-testid="stay-rental"]');
    this.m_sleep = element.querySelector('[data-testid="stay-sleep"]');
    this.m_none = element.querySelector('[data-testid="stay-none"]');
    this.m_room = null;
    this.m_rental.addEventListener('click', () => onStay(true));
    this.m_sleep.addEventListener('click', () => onStay(false));
  }

  show(room, now) {
    const sameRoom = this.m_room?.roomNo === room.roomNo;
    this.m_room = room;
    this.m_class.textContent = room.className || '객실';
    this.m_name.textContent = room.name;
    this.m_rental.querySelector('[data-testid="stay-rental-duration"]').textContent = room.rentalDuration;
    this.m_rental.querySelector('[data-testid="stay-rental-until"]').textContent = rentalUntilText(now, room.rentalDuration);
    this.m_sleep.querySelector('[data-testid="stay-sleep-until"]').textContent =
      `오늘 입실 · ${checkoutText(now, sleepEnd(now, this.m_screenSettings.checkoutTime))}`;
    this.m_rental.querySelector('[data-testid="stay-rental-price"]').textContent = formatWon(room.rentalPrice);
    this.m_sleep.querySelector('[data-testid="stay-sleep-price"]').textContent = formatWon(room.sleepPrice);
    this.m_rental.hidden = !this.m_settings.rentalAllowed;
    this.m_sleep.hidden = !this.m_settings.sleepAllowed;
    this.m_none.hidden = this.m_settings.rentalAllowed || this.m_settings.sleepAllowed;
    if (!sameRoom) {
      this.showGallery(room);
    }
  }

  // The first picture large; the others that exist as thumbnails to flip through.
  showGallery(room) {
    this.m_hero.replaceChildren(createPicture(room.pictures[0] ?? '', room.name));
    this.m_thumbs.replaceChildren();
    room.pictures.slice(0, GALLERY_SIZE).forEach((path, index) => {
      const thumb = createPicture(path, `${room.name} 사진 ${index + 1}`, () => {
        thumb.hidden = false;
        this.m_thumbs.dataset.count = String(this.m_thumbs.querySelectorAll('.picture:not([hidden])').length);
      });
      thumb.hidden = true;
      thumb.classList.add('thumb');
      thumb.addEventListener('click', () => {
        this.m_hero.replaceChildren(createPicture(path, room.name));
      });
      this.m_thumbs.append(thumb);
    });
  }
}
