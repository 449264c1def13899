#include "app/form/help_text.h"

namespace glidtavla {

// One paragraph a line: the panel wraps them to its own width.
QString HelpText() {
    return QString::fromUtf8(
        R"(            Denna text försvinner om du klickar på den

Tre rutor från vänsterkanten och tre rutor från överkanten finns en tom mittruta. Så länge muspekaren står i mittrutan är programmet i viloläge. När du för pekaren ut ur mittrutan gillras hämtningen av ett tecken: teckenrutan och teckenraden blir gula.

Skriva ett tecken:
För pekaren till det tecken du vill skriva. Så länge avståndet till mitten växer hämtas ingenting. Så snart pekaren vänder tillbaka mot mitten hämtas tecknet i den ruta du just lämnade, och hämtningen är sedan avstängd tills pekaren åter rör sig bort från mitten. Det hämtade tecknet läggs till sist på teckenraden. När pekaren kommer in på bordet utifrån, till exempel från START, en meny eller den här texten, hämtas ingenting på vägen in till mitten.

Rutor med styrtecken:
SP (SPACE)           = Mellanslag   Blå teckenruta  CHAR(32)
LF (LINE FEED)     = Överföring av teckenrad till text  Röd teckenruta   CHAR(13)
BS (BACK SPACE) = Tar bort sista tecknet  Lime teckenruta   CHAR(8)
DL (DELETE LINE)= Tar bort teckenraden  Grön teckenruta   CHAR(1)
Tom ruta (Centrum)   CHAR(0)
Lime betyder limegrön.

Teckenbordet:
Programmet har ett inbyggt teckenbord med 7 x 7 rutor. Finns filerna tecken.bmp och tecken.tab i den mapp där programmet startas, läses de in när programmet startar, och då används deras teckenbord i stället. Med menyvalet Hämta teckenbord > Inbyggt teckenbord kommer du alltid tillbaka till det inbyggda bordet.

Tabellfilen (.tab):
Första raden anger de lodräta linjernas avstånd från vänsterkanten i bildpunkter, som decimala tal. Andra raden anger de vågräta linjernas avstånd från överkanten. Därefter kommer tecknens koder som decimala tal, en rad i tabellen för varje rad på bordet. Talen på en rad skiljs åt med mellanslag, och efter det sista talet på en rad får inget mellanslag stå. Bordet kan ha upp till 20 rutor åt vardera hållet. Koderna 0, 1, 8, 13 och 32 betyder tom ruta, DL, BS, LF och SP. Filen kan ha radslut som i Windows (CR LF) eller som i Linux (bara LF), men inte båda i samma fil.

Känslighetsrad:
Tabellfilen kan börja med en extra rad som bara innehåller ett tal större än 1000. Raden påverkar inte bordet.

Menyn Hämta teckenbord:
Med bild: välj en bild (.bmp, .ico, .emf, .wmf, .png, .jpg eller .svg). Bredvid bilden måste det finnas en tabellfil med samma namn, där filändelsen är utbytt mot .tab. Finns ingen sådan tabellfil läses bordet inte in.
Utan bild: välj en tabellfil. Programmet ritar då själv upp bordet utifrån tabellfilen.
Inbyggt teckenbord: tillbaka till programmets eget bord.

Skift:
Håller du ner vänster musknapp medan tecknet hämtas får du det skiftade tecknet, en utvidgad versalisering som följer ett svenskt tangentbord (a blir A, 1 blir !, å blir Å och så vidare). Egna skiftrader kan läggas i tabellfilen: efter bordets rader lämnar du en tom rad, och därefter följer rader med koder som används som de skiftade tecknen. Koden 0 betyder att rutan inte har något eget skiftat tecken.

Skiftruta (SK):
Ett bord kan ha en skiftruta, kod 14 i tabellfilen. Hämtar du den blir nästa tecken skiftat, precis som med vänster musknapp nedtryckt; hämtar du den två gånger i rad är skiftet låst tills du hämtar den igen. Till höger i teckenraden står Skift eller Skiftlås medan det gäller. Så kan du skriva versaler utan att trycka på någon knapp. Färdiga bord med skiftruta finns i mappen boards i programmets datamapp (/usr/share/glidtavla/boards/): svenska-7x7-skift.tab och stora-rutor-5x5.tab med stora rutor; Hämta teckenbord > Utan bild börjar där.

Utan musknapp (menyn Visa):
Tryck genom att vila: låter du pekaren vila på START, någon annan knapp eller ett menyval trycks det efter vilotiden, och det visar hur lång tid som är kvar. Så öppnar du till exempel Fil och väljer Spara utan att klicka. Flytta pekaren eller lämna knappen innan samma knapp kan tryckas igen. Det som avslutar programmet, ersätter en fil, glömmer inlärda ord eller slänger osparad text trycks inte av en vila ensam: en gul ruta en bit bort frågar, och först en vila på dess Ja-knapp gör det; Avbryt, eller en vila på något annat, låter det vara. Vilotid väljer tiden: 0,5 s, 1,0 s, 1,5 s, 2,0 s eller 3,0 s. Stor filväljare (på när Tryck genom att vila sätts på) visar en egen filväljare för Öppna, Spara som, Hämta teckenbord och demorna: stora rader som trycks genom att vila, mappen uppåt, mapparna, filerna av rätt slag och de färdiga teckenborden, och pilar som bläddrar. Spara som erbjuder ett ledigt namn och det namn du skrivit på teckenraden. Med glidtavla --start visas bordet direkt, utan START.
Ställ in efter mig: tre frågor med stora svar, som också kan besvaras genom att vila: Vilket pekdon? (Mus, Styrkula, Huvudmus), Kan du trycka på en knapp? (Ja, Nej) och Darrar handen eller huvudet? (Nej, Lite, Mycket). Svaren väljer Pekdon och därmed när ordförslag visas, Tryck genom att vila och Vilotid, Darrskydd och, när det behövs, ett färdigt bord med skiftruta eller med stora rutor. Frågorna ställs en gång när programmet startas första gången och sedan när du väljer Visa > Ställ in efter mig.
Darrskydd: för en hand eller ett pekdon som darrar. Med 4 bildpunkter, 8 bildpunkter eller 12 bildpunkter byts ruta först när pekaren har kommit så långt in i den nya rutan; darrningar kring en rutkant skriver då inget. Av stänger skyddet. En demo som spelas in med darrskydd spelas upp likadant.

Redigera med tangentbordet:
Klickar du i teckenraden eller i textfältet får det tangentbordets fokus, och du kan skriva och ändra som vanligt.

Tips:
En tom ruta (kod 0) vid bordets nederkant gör att du kan föra pekaren ut ur bordet och in igen och tillbaka till mitten utan att något skrivs.

Demofiler (menyn Bruksanvisning):
Gör demo: ange en fil som sedan tar emot varje rörelse du gör med pekaren över bordet. Medan demon spelas in står en röd rad till höger om bordet, och menyvalet heter Sluta spela in: välj det när du är klar, så stängs filen.
Kör demo: öppna en sådan fil. När programmet är startat och pekaren förs över bordet spelas de inspelade rörelserna upp.
Teckenbordet kan inte bytas för demon: demon görs och körs alltid med det inbyggda teckenbordet.

Menyn Visa:
Förstora teckenbordet: visa bordet i 100, 150, 200 eller 300 procent. Anpassa till fönstret gör bordet så stort som fönstret tillåter. Teckenraden, teckenrutan och texten växer med.
Visa skrivhastighet: en rad längst ner i fönstret med hur många tecken och ord i minuten du skriver.
Hög kontrast: svart bakgrund, gul text och mörkare färger på teckenrutan och teckenraden, så att varje text står tydligt mot sin bakgrund; rutornas färger går fortfarande att skilja åt. Tills du väljer själv följer programmet skrivbordets inställning för hög kontrast.

Ordförslag (menyn Visa):
När du har börjat på ett ord visar mittrutan det troligaste ordet, och resten av ordet står grått efter teckenraden. Vill du ha ordet hämtar du mellanslag med skift (vänster musknapp nedtryckt): ordet skrivs färdigt och ett mellanslag följer. Hämtar du sedan . , : ; ! ? eller LF försvinner mellanslaget före tecknet. Utan förslag i mittrutan är mellanslag med skift ett vanligt mellanslag. Förslaget visas bara när programmet är tillräckligt säkert; hur säkert beror på Pekdon (Mus, Styrkula, Huvudmus): med ett långsamt pekdon lönar det sig att titta oftare. Hur säkert programmet är har mätts på text som det inte har lärt sig av: ett förslag som programmet tror på till hälften är rätt ungefär varannan gång.
Ordkolumn: fler förslag i en kolumn av ordplatser till höger om bordet. Du hämtar ett ord där på samma sätt som ett tecken, ut och tillbaka. Med Huvudmus är ordkolumnen påslagen från början. I en tabellfil är koderna 2 till 7 ordplatserna 1 till 6, så att ett eget bord kan ha dem var som helst.
Större ordmodell: förslagen bygger på mer svensk text, så att de oftare är rätt. Den tar några megabyte mer minne och läses in lite långsammare. Det du har lärt programmet följer med när du byter.
Lär av det jag skriver: orden i varje rad som går till texten (LF) och i teckenraden när du sparar lärs in, så att dina egna ord föreslås. Ett nytt ord föreslås först när du har skrivit det två gånger. Det som BS och DL tar bort lärs aldrig in. De inlärda orden sparas i ~/.local/share/Glidtavla/. Glöm inlärda ord tar bort dem.

Mellanslag efter skiljetecken: efter . , ; : ! ? skrivs mellanslaget också, som efter ett ord från ordförslaget. Nästa skiljetecken, LF eller BS tar bort det igen. Efter en siffra (3,5) och i förkortningar (t.ex.) kommer inget mellanslag.

Min skrivtakt: medan du skriver, och programmet får lära av det du skriver, mäts hur lång tid varje glid ut och tillbaka tar. Här står hur snabbt du pekar och hur fort detta teckenbord då låter dig skriva. Låt min skrivtakt styra förslagen: när 200 glid är mätta visas ordförslaget i mitten efter din egen takt i stället för pekdonets. Mätningen sparas bara för dig i ~/.local/share/Glidtavla/. Glöm min skrivtakt tar bort den.
Medan en demo spelas in eller spelas upp är ordförslagen avstängda, så att demon blir likadan varje gång.

Tal (menyn Visa):
Läs upp ord säger varje ord när dess mellanslag eller skiljetecken hämtas, också ett ordförslag du har tagit. Läs upp rader säger raden när LF för över den till texten. Läs upp förslag säger ordförslaget när det visas, så att du hör det utan att titta. Läs upp tecknet säger tecknet i den ruta du har fört pekaren ut till, till exempel "s", "stort S" eller "mellanslag", så att du hör vad som skrivs om du vänder tillbaka nu. Läs upp när en demo spelas låter också en demo höras. Talhastighet (Långsamt, Normalt, Snabbt, Mycket snabbt) och Röst väljer hur det låter; förvalet är en svensk röst. Läs upp allt i menyn Fil läser texten från början; nästa tecken du hämtar avbryter läsningen. Talet går genom skrivbordets talsyntes (speech-dispatcher); saknas den är menyn Tal grå och säger vad som ska installeras. Körs en skärmläsare som Orca får den i stället orden och förslagen, så att du hör dem en gång.

Kedjade glidningar:
Du behöver inte vända ända tillbaka till mitten mellan två tecken. Det räcker att vända till en ruta som ligger närmare mitten än både tecknet du just hämtade och nästa tecken, och som ligger på vägen ut till nästa. Exempel på det inbyggda bordet: för att skriva "de" går du ut till d, vänder bara tillbaka till i, som ligger intill mitten, och går därifrån ut till e. Så sparar du ungefär en åttondel av vägen. Vill du se hur det går till: välj Kör demo och filen kedjade-glidningar.dem i /usr/share/glidtavla/ (programmets datamapp), starta och för pekaren över bordet. Kommandot glidtavla-cli type --chained gör fler sådana demor.

Skriv i andra program (menyn Fil):
Varje tecken du hämtar skrivs också i det program som har tangentbordets fokus, till exempel en ordbehandlare eller en webbläsare. Glidtavlans fönster ligger då över de andra utan att ta fokus. Å, Ä, Ö och alla andra tecken kommer fram som de är, vilken tangentbordslayout datorn än har. Välj menyvalet igen för att sluta.

Kopiera allt (menyn Fil):
Lägger hela texten och teckenraden i urklipp, så att du kan klistra in den i ett annat program.

Spara:
Spara skriver texten och teckenraden, teckenraden som sista rad. Finns det redan en fil med det namnet som det här fönstret inte har läst eller sparat, eller som har ändrats sedan dess, frågar programmet först: Ersätt, Spara som ett ledigt namn bredvid (till exempel namnlos-2.gtv) eller Avbryt. Fönstrets rubrik visar alltid den fil som Spara skriver.

Allmänt:
Programmet sparar texten som vanlig text. En fil som ett annat program har skrivit i UTF-8 läses och sparas i UTF-8; andra filer läses och sparas tecken för tecken som förut.

Om du avslutar med osparade ändringar frågar programmet först om du vill spara dem. Det här är en tidig version, så spara ofta.
)");
}

}  // namespace glidtavla
