// The home screen: every room the kiosk offers, grouped by class, with its
// picture, both prices and whether it can be sold. A room for sale is one
// big touch target. Tabs choose one class or all of them.
//
// The screen holds still while the kiosk changes rooms: each room keeps its
// card and each class its section, so a change rewrites the fields of that
// card only and the scroll position stays where the guest left it. With a
// thousand rooms the classes and cards off screen cost neither style,
// layout nor paint (content-visibility in home.css), and their pictures are
// put in as they come near the screen.

import { formatWon } from '../format.js';
import { createPicture, pictureVersion, setPicture } from '../pictures.js';
import { isForSale } from '../rooms.js';

// The kiosk clears the list and resends it right away; waiting keeps the
// screen from going blank in between.
const CLEARED_LIST_GRACE_MS = 1500;
const ALL_CLASSES = '';

const CARD_BODY = `
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
    this.m_class = ALL_CLASSES;
    // roomNo -> {card, fields, shown}: the card, its fields and what they were filled from.
    this.m_cards = new Map();
    // class name -> {section, grid}
    this.m_sections = new Map();
    this.m_tabKeys = '';
    // Pictures are put in only when their card comes near the screen: a
    // thousand pictures at once would cost more than all the cards.
    this.m_nearScreen = new IntersectionObserver((entries) => this.cardsNearScreen(entries), {
      root: this.m_groups,
      rootMargin: '100% 0px',
    });
    this.m_groups.addEventListener('click', (event) => this.chooseCard(event.target));
    this.m_groups.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' || event.key === ' ') {
        event.preventDefault();
        this.chooseCard(event.target);
      }
    });
    this.m_tabs.addEventListener('click', (event) => {
      const tab = event.target.closest('[data-testid="class-tab"]');
      if (tab !== null) {
        this.showClass(tab.dataset.class);
      }
    });
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

  // Every class, from the top: how a new guest finds the screen.
  showFromTop() {
    this.showClass(ALL_CLASSES);
  }

  showClass(className) {
    this.m_class = className;
    this.render();
    this.m_groups.scrollTop = 0;
  }

  render() {
    clearTimeout(this.m_pending);
    this.renderSaleTypes();
    const groups = this.m_rooms.groupsByClass();
    if (!groups.some((group) => group.className === this.m_class)) {
      this.m_class = ALL_CLASSES;
    }
    this.renderTabs(groups);
    this.renderGroups(groups);
    this.m_empty.hidden = groups.length > 0;
    this.m_empty.textContent = this.m_listArrived
      ? '지금은 이용하실 수 있는 객실이 없습니다'
      : '객실 정보를 불러오고 있습니다';
  }

  renderSaleTypes() {
    markAvailable(this.m_rental, this.m_settings.rentalAllowed);
    markAvailable(this.m_sleep, this.m_settings.sleepAllowed);
  }

  // The tabs are made again only when the classes change; their counts are
  // rewritten where they stand.
  renderTabs(groups) {
    const keys = JSON.stringify(groups.map((group) => group.className));
    if (keys !== this.m_tabKeys) {
      this.m_tabKeys = keys;
      const classes = [ALL_CLASSES, ...groups.map((group) => group.className)];
      this.m_tabs.replaceChildren(...classes.map(classTab));
    }
    const free = new Map(groups.map((group) => [group.className, group.rooms.filter(isForSale).length]));
    free.set(ALL_CLASSES, [...free.values()].reduce((sum, count) => sum + count, 0));
    for (const tab of this.m_tabs.children) {
      setText(tab.lastChild, `${free.get(tab.dataset.class)}`);
      const selected = tab.dataset.class === this.m_class;
      if (tab.getAttribute('aria-pressed') !== String(selected)) {
        tab.setAttribute('aria-pressed', String(selected));
      }
    }
    this.m_tabs.hidden = groups.length < 2;
  }

  renderGroups(groups) {
    const settingsKey = `|${this.m_settings.rentalAllowed}|${this.m_settings.sleepAllowed}|${pictureVersion()}`;
    const sections = groups.map((group, index) => {
      const section = this.sectionFor(group.className, index);
      arrange(section.grid, group.rooms.map((room) => this.cardFor(room, settingsKey)));
      setGroupHeight(section.element, group.rooms.length);
      const hidden = this.m_class !== ALL_CLASSES && this.m_class !== group.className;
      if (section.element.hidden !== hidden) {
        section.element.hidden = hidden;
      }
      return section.element;
    });
    arrange(this.m_groups, sections);
    const shownClasses = new Set(groups.map((group) => group.className));
    for (const className of [...this.m_sections.keys()].filter((name) => !shownClasses.has(name))) {
      this.m_sections.delete(className);
    }
    const shownRooms = new Set(groups.flatMap((group) => group.rooms.map((room) => room.roomNo)));
    for (const roomNo of [...this.m_cards.keys()].filter((number) => !shownRooms.has(number))) {
      const { card } = this.m_cards.get(roomNo);
      this.m_nearScreen.unobserve(card);
      card.remove();
      this.m_cards.delete(roomNo);
    }
  }

  sectionFor(className, index) {
    let section = this.m_sections.get(className);
    if (section === undefined) {
      const element = document.createElement('section');
      element.className = 'room-group';
      element.dataset.testid = 'room-group';
      element.dataset.class = className;
      const heading = document.createElement('h2');
      heading.className = 'room-group__title';
      heading.textContent = className || '객실';
      const grid = document.createElement('div');
      grid.className = 'room-grid';
      element.append(heading, grid);
      section = { element, grid };
      this.m_sections.set(className, section);
    }
    if (section.element.dataset.group !== String(index)) {
      section.element.dataset.group = String(index);
    }
    return section;
  }

  // The room's card, its fields rewritten only when what they show changed:
  // the same room object and settings show the same; another object is
  // compared by its values.
  cardFor(room, settingsKey) {
    let entry = this.m_cards.get(room.roomNo);
    if (entry === undefined) {
      entry = createCard();
      this.m_cards.set(room.roomNo, entry);
      this.m_nearScreen.observe(entry.card);
    }
    if (entry.room !== room || entry.settingsKey !== settingsKey) {
      entry.room = room;
      entry.settingsKey = settingsKey;
      const shown = JSON.stringify(room) + settingsKey;
      if (entry.shown !== shown) {
        entry.shown = shown;
        this.fillCard(entry, room);
      }
    }
    return entry.card;
  }

  fillCard({ card, fields }, room) {
    const forSale = isForSale(room);
    card.dataset.roomNo = String(room.roomNo);
    card.dataset.state = String(room.state);
    card.dataset.displayMode = room.displayMode;
    card.dataset.class = room.className;
    card.classList.toggle('room-card--unavailable', !forSale);
    card.tabIndex = forSale ? 0 : -1;
    card.setAttribute('aria-disabled', String(!forSale));
    card.setAttribute('aria-label', `${room.name} ${forSale ? '선택' : '판매 불가'}`);
    this.showPicture(this.m_cards.get(room.roomNo), room);
    fields.badge.hidden = forSale;
    setText(fields.name, room.name);
    setText(fields.className, room.className || '객실');
    setText(fields.duration, room.rentalDuration);
    setText(fields.rentalPrice, formatWon(room.rentalPrice));
    setText(fields.sleepPrice, formatWon(room.sleepPrice));
    markAvailable(fields.rental, this.m_settings.rentalAllowed);
    markAvailable(fields.sleep, this.m_settings.sleepAllowed);
  }

  showPicture(entry, room) {
    if (entry.nearScreen) {
      setPicture(entry.fields.picture, room.pictures[0] ?? '', room.name);
    }
  }

  cardsNearScreen(entries) {
    for (const { target, isIntersecting } of entries) {
      const entry = this.m_cards.get(Number(target.dataset.roomNo));
      if (isIntersecting && entry !== undefined) {
        entry.nearScreen = true;
        this.m_nearScreen.unobserve(target);
        this.showPicture(entry, this.m_rooms.find(Number(target.dataset.roomNo)));
      }
    }
  }

  chooseCard(target) {
    const card = target.closest('[data-testid="room-card"]');
    const room = card === null ? null : this.m_rooms.find(Number(card.dataset.roomNo));
    if (room !== null && isForSale(room)) {
      this.m_onRoomChosen(room);
    }
  }
}

function classTab(className) {
  const tab = document.createElement('button');
  tab.type = 'button';
  tab.className = 'class-tab';
  tab.dataset.testid = 'class-tab';
  tab.dataset.class = className;
  tab.innerHTML = '<span class="class-tab__name"></span><span class="class-tab__count"></span>';
  tab.firstChild.textContent = className === ALL_CLASSES ? '전체' : className || '객실';
  return tab;
}

// Every card is a copy of one made once: cheaper than building each anew.
let cardPrototype = null;

function createCard() {
  if (cardPrototype === null) {
    cardPrototype = document.createElement('article');
    cardPrototype.className = 'room-card';
    cardPrototype.dataset.testid = 'room-card';
    cardPrototype.setAttribute('role', 'button');
    const picture = createPicture('', '');
    picture.dataset.testid = 'room-picture';
    const badge = document.createElement('span');
    badge.className = 'room-card__badge';
    badge.dataset.testid = 'room-unavailable';
    badge.textContent = '판매 불가';
    picture.append(badge);
    const body = document.createElement('div');
    body.className = 'room-card__body';
    body.innerHTML = CARD_BODY;
    cardPrototype.append(picture, body);
  }
  const card = cardPrototype.cloneNode(true);
  const field = (selector) => card.querySelector(selector);
  const fields = {
    picture: field('[data-testid="room-picture"]'),
    badge: field('[data-testid="room-unavailable"]'),
    name: field('[data-testid="room-name"]'),
    className: field('[data-testid="room-class"]'),
    duration: field('[data-testid="room-duration"]'),
    rentalPrice: field('[data-testid="room-rental-price"]'),
    sleepPrice: field('[data-testid="room-sleep-price"]'),
    rental: field('[data-stay="rental"]'),
    sleep: field('[data-stay="sleep"]'),
  };
  return { card, fields, room: null, settingsKey: '', shown: '', nearScreen: false };
}

// Puts `children` into `parent` in that order, moving only what is out of place.
function arrange(parent, children) {
  let next = parent.firstChild;
  for (const child of children) {
    if (child === next) {
      next = next.nextSibling;
    } else {
      parent.insertBefore(child, next);
    }
  }
  while (next !== null) {
    const extra = next;
    next = next.nextSibling;
    extra.remove();
  }
}

// The height a class's section would take, for the layout that skips it
// while it is far off screen: its title and its rows of cards.
const GROUP_TITLE_PX = 80;
const CARD_ROW_PX = 464;
const CARDS_PER_ROW = 3;

function setGroupHeight(section, rooms) {
  const height = `${GROUP_TITLE_PX + Math.ceil(rooms / CARDS_PER_ROW) * CARD_ROW_PX}px`;
  if (section.style.getPropertyValue('--group-height') !== height) {
    section.style.setProperty('--group-height', height);
  }
}

// Writes only a text that changed, so that an update leaves the rest alone.
function setText(element, text) {
  if (element.textContent !== text) {
    element.textContent = text;
  }
}

function markAvailable(element, available) {
  if (element.dataset.available !== String(available)) {
    element.dataset.available = String(available);
  }
}
