// Shows one screen at a time and the bottom bar's buttons that go with it.

export class CScreenSwitcher {
  constructor(root) {
    this.m_root = root;
    this.m_back = root.querySelector('[data-testid="nav-back"]');
    this.m_home = root.querySelector('[data-testid="nav-home"]');
    this.m_listeners = [];
    this.m_current = '';
  }

  // nav: which of "이전" and "처음으로" the screen offers.
  show(name, nav = { back: false, home: false }) {
    for (const screen of this.m_root.querySelectorAll('[data-screen]')) {
      screen.hidden = screen.dataset.screen !== name;
      if (!screen.hidden) {
        this.m_root.dataset.step = screen.dataset.step;
      }
    }
    this.m_back.hidden = !nav.back;
    this.m_home.hidden = !nav.home;
    this.m_root.dataset.current = name;
    this.m_current = name;
    for (const listener of this.m_listeners) {
      listener(name);
    }
  }

  get current() {
    return this.m_current;
  }

  onChange(listener) {
    this.m_listeners.push(listener);
  }
}
