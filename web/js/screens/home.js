// The home screen: every room the kiosk offers, grouped by class, with its
// picture, both prices and whether it can be sold. A room for sale is one
// big touch target.

import { formatWon } from '../format.js';
import { createPicture } from '../pictures.js';
import { isForSale } from '../rooms.js';

// The kiosk clears the list and resends it right away; waiting a moment
// keeps the screen from going blank in between.
const CLEARED_LIST_GRACE_MS = 400;

export class CHomeScreen {
  constructor(element, { rooms, settings, onRoomChosen }) {
    this.m_rooms = rooms;
    this.m_settings = settings;
    this.m_onRoomChosen = onRoomChosen;
    this.m_tabs = element.querySelector('[data-testid="class-tabs"]');
    this.m_groups = element.querySelector('[data-testid="room-groups"]');
    this.m_empty = element.querySelector('[data-testid="home-empty"]');
    this.m_rental = element.querySelector('[data-testid="sale-rental"]');
    this.m_sleep = element.querySelector('[data-testid="sale-sleep"]');
    this.m_pending = 0;
    this.m_listArrived = false;
  }

  // Nothing arrived yet: "loading" rather than "no rooms".
  expectList() {
    this.m_listArrived = false;
    this.render();
  }

  listArrived() {
    this.m_listArrived = true;
    this.render();
  }

  renderSoon() {
    clearTimeout(this.m_pending);
    this.m_pending = setTimeout(() => this.render(), CLEARED_LIST_GRACE_MS);
  }

  render() {
    clearTimeout(this.m_pending);
    this.renderSaleTypes();
    const groups = this.m_rooms.groupsByClass();
    this.m_tabs.replaceChildren(...groups.map((group, index) => this.classTab(group, index)));
    this.m_groups.replaceChildren(...groups.map((group, index) => this.classGroup(group, index)));
    this.m_groups.scrollTop = 0;
    this.m_empty.hidden = groups.length > 0;
    this.m_empty.textContent = this.m_listArrived
      ? '지금은 이용하실 수 있는 객실이 없습니다'
      : '객실 정보를 불러오고 있습니다';
  }

  renderSaleTypes() {
    markAvailable(this.m_rental, this.m_settings.rentalAllowed);
    markAvailable(this.m_sleep, this.m_settings.sleepAllowed);
  }

  classTab(group, index) {
    const tab = document.createElement('button');
    tab.type = 'button';
    tab.className = 'class-tab';
    tab.dataset.testid = 'class-tab';
    const free = group.rooms.filter(isForSale).length;
    tab.innerHTML = '<span class="class-tab__name"></span><span class="class-tab__count"></span>';
    tab.firstChild.textContent = className(group);
    tab.lastChild.textContent = `${free}`;
    tab.addEventListener('click', () => {
      this.m_groups.querySelector(`[data-group="${index}"]`)?.scrollIntoView({ behavior: 'smooth' });
    });
    return tab;
  }

  classGroup(group, index) {
    const section = document.createElement('section');
    section.className = 'room-group';
    section.dataset.testid = 'room-group';
    section.dataset.group = String(index);
    section.dataset.class = group.className;
    const heading = document.createElement('h2');
    heading.className = 'room-group__title';
    heading.textContent = className(group);
    const grid = document.createElement('div');
    grid.className = 'room-grid';
    grid.append(...group.rooms.map((room) => this.roomCard(room)));
    section.append(heading, grid);
    return section;
  }

  roomCard(room) {
    const card = document.createElement('article');
    card.className = 'room-card';
    card.dataset.testid = 'room-card';
    card.dataset.roomNo = String(room.roomNo);
    card.dataset.state = String(room.state);
    card.dataset.displayMode = room.displayMode;
    card.dataset.class = room.className;
    const picture = createPicture(room.pictures[0] ?? '', room.name);
    picture.dataset.testid = 'room-picture';
    card.append(picture, this.roomBody(room));
    if (isForSale(room)) {
      card.tabIndex = 0;
      card.setAttribute('role', 'button');
      card.addEventListener('click', () => this.m_onRoomChosen(room));
    } else {
      card.classList.add('room-card--unavailable');
      card.setAttribute('aria-disabled', 'true');
      const badge = document.createElement('span');
      badge.className = 'room-card__badge';
      badge.dataset.testid = 'room-unavailable';
      badge.textContent = '판매 불가';
      picture.append(badge);
    }
    return card;
  }

  roomBody(room) {
    const body = document.createElement('div');
    body.className = 'room-card__body';
    body.innerHTML = `
      <div class="room-card__head">
        <h3 class="room-card__name" data-testid="room-name"></h3>
        <span class="class-label" data-testid="room-class"></span>
      </div>
      <div class="price-row" data-stay="rental">
        <span class="price-row__label">대실 <small data-testid="room-duration"></small></span>
        <span class="price-row__amount" data-testid="room-rental-price"></span>
      </div>
      <div class="price-row" data-stay="sleep">
        <span class="price-row__label">숙박</span>
        <span class="price-row__amount" data-testid="room-sleep-price"></span>
      </div>`;
    const fill = (testId, text) => {
      body.querySelector(`[data-testid="${testId}"]`).textContent = text;
    };
    fill('room-name', room.name);
    fill('room-class', room.className || '객실');
    fill('room-duration', room.rentalDuration);
    fill('room-rental-price', formatWon(room.rentalPrice));
    fill('room-sleep-price', formatWon(room.sleepPrice));
    markAvailable(body.querySelector('[data-stay="rental"]'), this.m_settings.rentalAllowed);
    markAvailable(body.querySelector('[data-stay="sleep"]'), this.m_settings.sleepAllowed);
    return body;
  }
}

function className(group) {
  return group.className || '객실';
}

function markAvailable(element, available) {
  element.dataset.available = String(available);
}
