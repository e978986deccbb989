// What the motel's operator sets for the screen: the phone number guests
// call for help, the overnight check-out time and the notices shown before
// payment. The kiosk serves them as /screen-settings.json, read again after
// every (re)connect; whatever is missing or malformed keeps its default, so
// the screen works when nothing is set.

const SETTINGS_URL = '/screen-settings.json';
const CLOCK_TIME = /^([01]\d|2[0-3]):[0-5]\d$/;

export const DEFAULT_SCREEN_SETTINGS = Object.freeze({
  phone: '',
  checkoutTime: '12:00',
  ageNotice: '만 19세 미만 청소년은 객실을 이용하실 수 없습니다. 관리자가 신분증을 확인할 수 있습니다.',
  rentalHours: '대실은 결제하신 때부터 객실마다 정해진 시간 동안 이용하실 수 있습니다.',
  sleepHours: '',
  refundNotice: '결제가 끝난 객실은 키오스크에서 환불되지 않습니다. 환불은 관리자에게 문의해 주세요.',
  handoutPlace: '화면 아래 배출구',
});

export class CScreenSettings {
  constructor() {
    Object.assign(this, DEFAULT_SCREEN_SETTINGS);
  }

  // The served values over the defaults; the defaults when none are served.
  async load(fetchSettings = () => fetch(SETTINGS_URL, { cache: 'no-store' })) {
    let served = {};
    try {
      const response = await fetchSettings();
      served = response.ok ? await response.json() : {};
    } catch {
      served = {};
    }
    this.apply(served);
  }

  apply(served) {
    for (const [key, fallback] of Object.entries(DEFAULT_SCREEN_SETTINGS)) {
      const value = served?.[key];
      this[key] = typeof value === 'string' && value.trim() !== '' ? value.trim() : fallback;
    }
    if (!CLOCK_TIME.test(this.checkoutTime)) {
      console.warn(`check-out time "${this.checkoutTime}" is not HH:MM; ${DEFAULT_SCREEN_SETTINGS.checkoutTime} kept`);
      this.checkoutTime = DEFAULT_SCREEN_SETTINGS.checkoutTime;
    }
  }

  // The overnight notice; by default it says the check-out time.
  get sleepNotice() {
    return this.sleepHours || `숙박은 다음 날 ${this.checkoutTime}에 퇴실하시면 됩니다.`;
  }

  get hoursNotice() {
    return `${this.rentalHours} ${this.sleepNotice}`;
  }
}
